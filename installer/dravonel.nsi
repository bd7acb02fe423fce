; Dravonel's setup program: a per-user install that needs no administrator
; rights, into the user's own programs folder, with a Start-menu shortcut,
; optional start with Windows and an uninstaller.
;
; Built by the build (installer/CMakeLists.txt) with
;   makensis -INPUTCHARSET UTF8 -DSTAGE=<staged 32-bit files>
;            -DSTAGE_X64=<staged x64 files> -DUNINSTALL_LIST=<nsh>
;            -DOUTFILE=<setup.exe> -DVERSION=<a.b.c.d> -DICON=<ico>
;            -DWIZARD=<bmp> dravonel.nsi
;
; One 32-bit setup program for every Windows: it installs the x64 programs
; on 64-bit (x64) Windows and the 32-bit ones elsewhere, under the same
; names. -DX64_SETUP_FOR_TESTS builds the same script as an x64 program, for
; the tests of a machine that cannot run 32-bit programs; it is not shipped.
;
; Silent use: setup.exe /S [/D=folder]; uninstall.exe /S [/REMOVEDATA].

Unicode true
!ifdef X64_SETUP_FOR_TESTS
Target amd64-unicode
!endif
ManifestDPIAware true
ManifestSupportedOS all
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh
!include x64.nsh

!define PRODUCT "Dravonel"
!define PUBLISHER "Malvoren Soft"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dravonel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Dravonel.exe"

!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

LangString WelcomeText ${LANG_ENGLISH} "Dravonel lives in the notification area: it changes the desktop wallpaper from your picture lists, draws a calendar on it, takes care of the desktop icons and hosts plug-ins.$\r$\n$\r$\nIt is installed for you alone, in your own programs folder, and needs no administrator rights.$\r$\n$\r$\n$_CLICK"
LangString WelcomeText ${LANG_RUSSIAN} "Dravonel работает в области уведомлений: меняет обои рабочего стола из ваших списков картинок, рисует на них календарь, следит за значками рабочего стола и подключает модули.$\r$\n$\r$\nПрограмма устанавливается только для вас, в вашу папку программ, и не требует прав администратора.$\r$\n$\r$\n$_CLICK"
LangString SecProgramName ${LANG_ENGLISH} "Dravonel"
LangString SecProgramName ${LANG_RUSSIAN} "Dravonel"
LangString SecAutostartName ${LANG_ENGLISH} "Start with Windows"
LangString SecAutostartName ${LANG_RUSSIAN} "Запускать вместе с Windows"
LangString SecDataName ${LANG_ENGLISH} "Your settings, wallpaper lists and notes"
LangString SecDataName ${LANG_RUSSIAN} "Ваши настройки, списки обоев и заметки"
LangString ShortcutComment ${LANG_ENGLISH} "Wallpaper changer and desktop care"
LangString ShortcutComment ${LANG_RUSSIAN} "Смена обоев и уход за рабочим столом"
LangString RootFolder ${LANG_ENGLISH} "Choose a folder of its own for Dravonel, not the root of a drive."
LangString RootFolder ${LANG_RUSSIAN} "Выберите для Dravonel отдельную папку, а не корень диска."
; The language file the program starts with when none is chosen yet.
LangString LanguageFile ${LANG_ENGLISH} "eng.ini"
LangString LanguageFile ${LANG_RUSSIAN} "rus.ini"

; A running copy holds its files open: it is asked to end through its own
; command hand-over (control 1013, then command 1014), as "Dravonel /ex" does.
!macro CLOSE_DRAVONEL un
Function ${un}CloseDravonel
  FindWindow $0 "#32770" "Dravonel"
  ${If} $0 = 0
    Return
  ${EndIf}
  GetDlgItem $1 $0 1013
  SendMessage $1 ${WM_SETTEXT} 0 "STR:/ex"
  SendMessage $0 ${WM_COMMAND} 1014 0 /TIMEOUT=5000
  StrCpy $2 0
  ${Do}
    FindWindow $0 "#32770" "Dravonel"
    ${If} $0 = 0
    ${OrIf} $2 >= 50
      ${Break}
    ${EndIf}
    Sleep 200
    IntOp $2 $2 + 1
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_DRAVONEL ""
!insertmacro CLOSE_DRAVONEL "un."

; $R0 = the user's settings file, named as the program names it: the machine
; file's "defuser", else the Windows user, else "default".
Function SettingsFile
  ClearErrors
  ReadINIStr $R0 "$INSTDIR\Dravonel.ini" "set" "defuser"
  ${If} $R0 == ""
    System::Call 'advapi32::GetUserNameW(w .R0, *i ${NSIS_MAX_STRLEN}) i .R1'
    ${If} $R1 = 0
    ${OrIf} $R0 == ""
      StrCpy $R0 "default"
    ${EndIf}
  ${EndIf}
  StrCpy $R0 "$INSTDIR\Users\$R0.set"
FunctionEnd

; The context-menu verbs and the desktop shortcut the program makes (the
; about box and the menu-items page). A verb whose command starts another
; copy of Dravonel is that copy's and stays.
!macro REMOVE_OWN_VERB KEY
  ReadRegStr $2 HKCR "${KEY}\command" ""
  StrLen $3 '"$INSTDIR\Dravonel.exe"'
  StrCpy $4 $2 $3
  ${If} $4 == '"$INSTDIR\Dravonel.exe"'
    DeleteRegKey HKCR "${KEY}"
  ${EndIf}
!macroend

!macro REMOVE_PICTURE_VERBS EXTENSION TYPE
  ReadRegStr $1 HKCR "${EXTENSION}" ""
  ${If} $1 == ""
    StrCpy $1 "${TYPE}"
  ${EndIf}
  !insertmacro REMOVE_OWN_VERB "$1\shell\Dravonel"
  !insertmacro REMOVE_OWN_VERB "$1\shell\DravonelTW"
!macroend

Function un.RemoveShellTraces
  !insertmacro REMOVE_PICTURE_VERBS ".gif" "giffile"
  !insertmacro REMOVE_PICTURE_VERBS ".bmp" "bmpfile"
  !insertmacro REMOVE_PICTURE_VERBS ".ico" "icofile"
  !insertmacro REMOVE_PICTURE_VERBS ".jpg" "jpegfile"
  !insertmacro REMOVE_PICTURE_VERBS ".jpeg" "jpegfile"
  !insertmacro REMOVE_PICTURE_VERBS ".emf" "emffile"
  !insertmacro REMOVE_PICTURE_VERBS ".wmf" "wmffile"
  !insertmacro REMOVE_PICTURE_VERBS ".png" "pngfile"
  !insertmacro REMOVE_OWN_VERB "Directory\shell\Dravonel"
  ; The folder the program itself reads for the shortcut.
  ReadRegStr $1 HKCU "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders" "Desktop"
  ${If} $1 != ""
    Delete "$1\Dravonel.lnk"
  ${EndIf}
FunctionEnd

Function .onVerifyInstDir
  ; The uninstaller removes folders such as "Users" inside the program folder.
  StrLen $0 $INSTDIR
  ${If} $0 <= 3
    Abort
  ${EndIf}
FunctionEnd

; The Run value and the uninstall entry live in the system's own registry
; view, where the program of either kind finds them.
!macro NATIVE_REGISTRY_VIEW
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
!macroend

Function .onInit
  !insertmacro NATIVE_REGISTRY_VIEW
  StrLen $0 $INSTDIR
  ${If} $0 <= 3
    MessageBox MB_OK|MB_ICONSTOP "$(RootFolder)" /SD IDOK
    Abort
  ${EndIf}
FunctionEnd

Section "!$(SecProgramName)" SecProgram
  SectionIn RO
  ${If} ${FileExists} "$INSTDIR\Dravonel.exe"
    Call CloseDravonel
  ${EndIf}
  SetOutPath "$INSTDIR"
  ; x64 programs only where the processor is x64 itself: Windows on ARM
  ; runs the 32-bit ones everywhere.
  ${If} ${IsNativeAMD64}
    File /r "${STAGE_X64}/*.*"
  ${Else}
    File /r "${STAGE}/*.*"
  ${EndIf}
  CreateDirectory "$INSTDIR\Users"

  ; The program starts in the language of the setup unless one is chosen.
  Call SettingsFile
  ClearErrors
  ReadINIStr $0 $R0 "set" "ini"
  ${If} ${Errors}
    WriteINIStr $R0 "set" "ini" "$(LanguageFile)"
  ${EndIf}

  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Dravonel.lnk" "$INSTDIR\Dravonel.exe" "" "$INSTDIR\Dravonel.exe" 0 \
                 SW_SHOWNORMAL "" "$(ShortcutComment)"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Dravonel.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "$(SecAutostartName)" SecAutostart
  ; The same Run value the general page's option writes. The program puts
  ; the value right from its own option at every start, so the option is
  ; set too ("0" is how the page stores a ticked box of this kind).
  WriteRegStr HKCU "${RUN_KEY}" "Dravonel" '"$INSTDIR\Dravonel.exe"'
  Call SettingsFile
  WriteINIStr $R0 "set" "KvAutoSt" "0"
SectionEnd

Section "un.$(SecProgramName)" UnSecProgram
  SectionIn RO
  Call un.CloseDravonel
  !include "${UNINSTALL_LIST}"
  ; Made by the program itself, nothing of the user's.
  Delete "$INSTDIR\cmd.txt"
  Delete "$INSTDIR\fon.bmp"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\Dravonel.lnk"
  Call un.RemoveShellTraces
  ; Another copy of Dravonel may own the Run value: only ours goes.
  ; Older versions wrote the path unquoted.
  ReadRegStr $0 HKCU "${RUN_KEY}" "Dravonel"
  ${If} $0 == '"$INSTDIR\Dravonel.exe"'
  ${OrIf} $0 == "$INSTDIR\Dravonel.exe"
    DeleteRegValue HKCU "${RUN_KEY}" "Dravonel"
  ${EndIf}
SectionEnd

Section /o "un.$(SecDataName)" UnSecData
  StrLen $0 $INSTDIR
  ${If} $0 <= 3
    Return
  ${EndIf}
  Delete "$INSTDIR\Users\*.*"
  RMDir "$INSTDIR\Users"
  Delete "$INSTDIR\Lists\*.lst"
  Delete "$INSTDIR\Lists\*.rnd"
  RMDir "$INSTDIR\Lists"
  Delete "$INSTDIR\Clock\*.*"
  RMDir "$INSTDIR\Clock"
  Delete "$INSTDIR\Dates\*.*"
  RMDir "$INSTDIR\Dates"
  Delete "$INSTDIR\Weather\*.*"
  RMDir "$INSTDIR\Weather"
  Delete "$INSTDIR\Dravonel.ini"
  Delete "$INSTDIR\KvBmp.bmp"
  Delete "$INSTDIR\Prelog.bmp"
SectionEnd

Section "-un.Folder"
  ; Gone only when nothing of the user's is left in it.
  RMDir "$INSTDIR"
  ; Last, so that its absence means the uninstaller is done.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
  !insertmacro NATIVE_REGISTRY_VIEW
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEDATA" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecData}
  ${EndIf}
FunctionEnd
