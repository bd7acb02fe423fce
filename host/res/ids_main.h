// Templates, icons and controls of the hidden owner window, the main window
// and the settings panel.
#pragma once

// Dialog templates.
#define IDD_HIDE 98
#define IDD_CONTENT 99
#define IDD_MAIN 101
#define IDD_BOTH 103
#define IDD_WALL 104
#define IDD_PICTURE 105
#define IDD_FILE 106
#define IDD_CALEN 107
#define IDD_KEY 109
#define IDD_HOTKEY 1090
#define IDD_RASSH 110
#define IDD_RASSHITEM 1100
#define IDD_PLUGINS 111

// Main window and settings panel.
#define IDMENUSHOW 1010
#define IDTOWALL 1011
#define IDTREEVIEW 1012
#define IDCMD 1013
#define IDCMDRUN 1014
#define IDCMDHELP 1015
#define IDTREESHOW 1017

// The plug-ins' page: modules of the other kind that were skipped.
#define IDSKIPPEDLABEL 1018
#define IDSKIPPEDMODULES 1019

// Icons.
#define IDI_MAIN 200
#define IDI_ADDFOLDER 201
#define IDI_REMOVEFOLDER 202
#define IDI_ADDFILES 203
#define IDI_REMOVEFILES 204
#define IDI_REMOVEMISSING 205
#define IDI_CLEARLIST 206
#define IDI_REMOVEROW 207
#define IDI_DELETEFILE 208
#define IDI_OPENPICTURE 209
#define IDI_OPENFOLDER 210
#define IDI_APPLY 211
#define IDI_NEWLIST 213
#define IDI_RENAMELIST 214
#define IDI_DELETELIST 215
#define IDI_MARKER 216
#define IDI_CHECKOFF 217
#define IDI_MAINS 218
#define IDI_CHECKOFFS 219
#define IDI_ADDENTRY 224
#define IDI_TREE 225

// The tray icon's id and callback message.
#define IDTRAYICON 212
#define WM_TRAYNOTIFY 0x207
// A plug-in's service request to the main window.
#define WM_PLUGINREQUEST 0x402
