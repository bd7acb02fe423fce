/* The plug-in protocol between Dravonel.exe and the modules in Plugins\.
 *
 * Lifecycle (every call comes from the host's one GUI thread):
 *   1. Load: the host loads every Plugins\*.dll that exports the entry
 *      (KV_PLUGIN_ENTRY below) and calls KvCREATE (arg 1 = settings panel, arg 4 = language file
 *      path). A non-zero answer is the plug-in's settings page, a child of the
 *      panel; then KvGETDESCRIPTION asks for its display name.
 *   2. Settings: KvSETTINGS (arg 4 = the user's settings file); hot-key rows
 *      through KvGETCOUNTHOTKEY / KvGETHOTKEY, menu items through
 *      KvGETCOUNTMENUITEM / KvGETMENUITEM.
 *   3. Menu: KvCREATEMENUITEM and KvCREATEMENUITEMPOPUP on every rebuild of
 *      the main menu; KvRUNMENUITEM when an item is chosen; KvPOPMENU for
 *      commands from the plug-in's own popup menus.
 *   4. Running: the other commands as their events occur.
 *   5. Exit: KvAPPLICATIONCLOSE (any non-zero answer keeps the host running);
 *      then the host destroys the windows each module made on its thread
 *      (the page among them), unloads the module and ends the process.
 * Commands whose answer "stops" (5, 11, 12, 13, 14, 15, 20, 22): the first
 * plug-in that answers non-zero (for 20 and 22: a colour strictly between 0
 * and 0xFFFFFF) ends the round; later plug-ins are not asked.
 * A plug-in answers 0 to every command it does not handle.
 *
 * Services: a plug-in asks the host with
 *   SendMessage(host, KV_SERVICE_MESSAGE, service code, (LPARAM)record)
 * where host is a window it was given: the settings panel (arg 1 of
 * KvCREATE) or the main window (arg 1 of the other commands; for 8, 9, 10
 * and 18 arg 1 is a menu, never a window to send to). The record stays the
 * plug-in's; the host reads it during the call only. A null record or an
 * unknown code answers 0.
 *
 * Who frees what: every module uses the one C run-time heap of the process
 * (msvcrt.dll), so malloc in one module and free in another is sound.
 *   - The host frees: s_hotkey and its DescroptionHotKey, s_menuitem and its
 *     NameMenuItem, KvGETDESCRIPTION's string, KvCMDRUN's returned string,
 *     the s_inputInitParam record and its inText (service 17).
 *   - The host keeps for the process's life: KeyWin, KeyHotKey, KeyMenuItem.
 *   - The plug-in frees: strings the host returns (services 17, 24, 25, 26,
 *     27, 30), heap blocks of service 18 (kind 0), the file list of services
 *     28 and 29 when the host leaves it (the answer says what is left),
 *     bitmaps it receives (services 9, 11), pictures through service 10.
 *   - Service 16 takes the picture (the host releases it) and replaces the
 *     bitmap in *hBit (the host deletes the old one).
 *   - KvCMDRUN: a plug-in that returns a new command line takes charge of the
 *     old one (frees or reuses it); one that returns 0 leaves it untouched.
 *
 * Everything is ANSI: texts in the language file's code page.
 * plugin_guide.md beside this header has a minimal plug-in.
 */
#ifndef DRAVONEL_PLUGIN_H
#define DRAVONEL_PLUGIN_H

#include <windows.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Two kinds, one protocol. A 32-bit host loads 32-bit plug-ins only and a
 * 64-bit host 64-bit ones; a module of the other kind is skipped. Build the
 * same source for each kind:
 *   - 32-bit: the entry is exported as "_Dravonex@16" (stdcall, 16 bytes of
 *     arguments); int, INT_PTR, pointers and handles are all 4 bytes.
 *   - x64: x64 has one calling convention and no decoration, so the entry is
 *     exported under its plain name "Dravonex", with the same arguments.
 *     Pointers, handles, INT_PTR and LPARAM are 8 bytes; int, DWORD, LONG
 *     and COLORREF stay 4. argument and data are pointer-sized because some
 *     commands pass addresses in them (17, 20, 22): never carry them in an
 *     int or a DWORD.
 * The records below keep their field order in both kinds. A field that holds
 * a pointer or a handle is pointer-sized, so on x64 a record takes its
 * natural size (with the compiler's natural alignment); on 32-bit the sizes
 * are fixed by the checks at the end of this file. */
#ifdef _WIN64
#define KV_PLUGIN_ENTRY "Dravonex"
#else
#define KV_PLUGIN_ENTRY "_Dravonex@16"
#endif
typedef INT_PTR(WINAPI* DravonexFunction)(HWND window, int command, INT_PTR argument, INT_PTR data);

/* Host to plug-in: the command codes. */
enum {
    KvCREATE = 0,                /* panel; data: language file; answer: page or 0 */
    KvSETTINGS = 1,              /* data: the user's settings file */
    KvGETCOUNTHOTKEY = 2,        /* answer: number of hot keys */
    KvGETHOTKEY = 3,             /* argument: index; data: its row; answer: heap s_hotkey or 0 */
    KvRUNHOTKEY = 4,             /* data: row of the pressed hot key */
    KvSTOPNEXTWALL = 5,          /* stops: non-zero cancels the next wallpaper */
    KvGETCOUNTMENUITEM = 6,      /* answer: number of main-menu items */
    KvGETMENUITEM = 7,           /* argument: index; data: its row = menu id; answer: heap s_menuitem or 0 */
    KvCREATEMENUITEM = 8,        /* window: the main menu; data: menu id (caption and icon may be set) */
    KvCREATEMENUITEMPOPUP = 9,   /* window: the main menu; argument: position; data: menu id */
    KvRUNMENUITEM = 10,          /* window: the main menu; data: menu id */
    KvAPPLICATIONCLOSE = 11,     /* stops: non-zero keeps the host running */
    KvAPPLICATIONCLEAR = 12,     /* stops: non-zero cancels removing the settings */
    KvSTOPPREVIOUSWALL = 13,     /* stops: non-zero cancels the previous wallpaper */
    KvUPDATEWALL = 14,           /* stops: non-zero cancels rebuilding the wallpaper */
    KvSTOPICONRULE = 15,         /* stops: non-zero skips this tick of the desktop-icon care */
    KvCREATEWALLPAPER = 16,      /* data: the wallpaper's device context (screen coordinates) */
    KvCMDRUN = 17,               /* argument: heap command line; answer: replacement or 0 */
    KvPOPMENU = 18,              /* window: the menu last selected; argument: the command's wParam */
    KvCHANGEDATE = 19,           /* a new day has begun */
    KvDAYTEXTCOLOUR = 20,        /* argument: "%02d" month text; data: "%02d" day text; answer: colour */
    KvLISTSCHANGED = 21,         /* a wallpaper list was created, renamed or deleted */
    KvDAYOUTLINECOLOUR = 22,     /* as 20, for the day's outline colour */
    KvGETDESCRIPTION = 23,       /* panel; data: language file; answer: heap display name or 0 */
    KV_COMMAND_COUNT = 24
};

/* Plug-in to host: the message and the service codes. */
#define KV_SERVICE_MESSAGE (WM_USER + 2)
enum {
    KvSrvLockWorkstation = 0,    /* no record */
    KvSrvSavePicture = 1,        /* s_savepicture; 0 = written, non-zero = not written */
    KvSrvNextWallpaper = 2,      /* no record; the plug-ins are not asked */
    KvSrvAddToolTip = 3,         /* s_addtooltip */
    KvSrvSetLayeredWindow = 4,   /* s_setlayeredwin */
    KvSrvChooseFont = 5,         /* s_choosefont */
    KvSrvPlace = 6,              /* s_placefunc; returns when the window closes */
    KvSrvProcessorLoad = 7,      /* no record; answer: percent */
    KvSrvLoadPicture = 8,        /* s_loadpicture; answer: picture handle or 0 */
    KvSrvImageToBitmap = 9,      /* s_imgtobmp; answer: HBITMAP */
    KvSrvReleasePicture = 10,    /* the picture handle itself */
    KvSrvScaleBitmap = 11,       /* s_scalebitmap; answer: HBITMAP or 0 */
    KvSrvShowSettings = 12,      /* the page's window handle, or 0 */
    KvSrvTrackMenu = 13,         /* a menu handle */
    KvSrvMainMenu = 14,          /* no record; answer: the main menu */
    KvSrvUpdateWallpaper = 15,   /* no record; the plug-ins are asked (KvUPDATEWALL) */
    KvSrvPreviewBitmap = 16,     /* s_imgtosmallbmp; the picture is released */
    KvSrvInputText = 17,         /* heap s_inputInitParam; answer: heap text or 0 */
    KvSrvGetInetFile = 18,       /* s_getinetfile; answer: kind 0 the block, kinds 1 and 2 1;
                                    0 unless a whole 2xx answer came within the limits
                                    (plugin_guide.md) */
    KvSrvDrawBitmap = 19,        /* s_drawbit */
    KvSrvCheckMenuItem = 20,     /* s_checkmainmenuitem */
    KvSrvRunCommandLine = 21,    /* the command line (const char*) */
    KvSrvOwnerWindow = 22,       /* no record; answer: the hidden owner window */
    KvSrvMayChange = 23,         /* no record; answer: 1, or 0 while the machine is busy */
    KvSrvCurrentWallpaper = 24,  /* no record; answer: heap path or 0 */
    KvSrvCurrentSaver = 25,      /* no record; answer: heap path or 0 */
    KvSrvChooseFolder = 26,      /* s_selfolder; answer: heap path or 0 */
    KvSrvChooseFile = 27,        /* s_selfile; answer: heap path or 0 */
    KvSrvAddToList = 28,         /* s_filetolist; answer: the files left to the plug-in */
    KvSrvRemoveFromList = 29,    /* s_filetolist; as 28 */
    KvSrvNextWallpaperPath = 30, /* no record; answer: heap path or 0 */
    KvSrvDrawCalendar = 31,      /* s_drawcalendar */
    KvSrvReadHotKey = 32,        /* the row number; answer: its hot-key code */
    KvSrvSaveFailed = 33,        /* the file's path (const char*): told as the host's own failed saves */
    KV_SERVICE_COUNT = 34
};

/* Records a plug-in returns (heap blocks; see "who frees what"). */
typedef struct s_hotkey {
    char* DescroptionHotKey; /* row label; freed by the host */
    char* KeyWin;            /* "HotKey" key of the Windows-key flag; kept */
    char* KeyHotKey;         /* "HotKey" key of the combination; kept */
} s_hotkey;

typedef struct s_menuitem {
    char* NameMenuItem; /* row and menu caption; freed by the host */
    char* KeyMenuItem;  /* "HideMenu" key that hides the item; kept */
} s_menuitem;

/* The host's record of a hot-key or menu-item row (the row control's data). */
typedef struct keyset {
    char* keyname;              /* the row's settings key; kept for the process's life */
    DravonexFunction pDravonex; /* owning plug-in, 0 for the host's rows */
} keyset;

/* Item data of the host's owner-drawn menus; a plug-in may change text and
 * icon of its own item on KvCREATEMENUITEM. */
typedef struct menudata {
    char text[260]; /* caption, at most 259 characters */
    HICON hIcon;    /* 16 x 16, may be 0 */
    char* data;     /* a path or file name (heap), may be 0 */
} menudata;

/* Service records, in the plug-in's memory. */
typedef struct s_savepicture {
    char* namefile;
    HBITMAP hBit;
} s_savepicture;

typedef struct s_addtooltip {
    HWND hWnd;   /* the dialog */
    int nIDTool; /* the control's id */
    int nIDStr;  /* text number in the host's "TOOLTIP" section */
} s_addtooltip;

typedef struct s_setlayeredwin {
    HWND hwnd;
    COLORREF crKey;
    BYTE bAlpha;
    DWORD dwFlags; /* LWA_COLORKEY (1) and/or LWA_ALPHA (2) */
} s_setlayeredwin;

typedef struct s_choosefont {
    char* ext; /* extension of the user's file to write (".set", ".dst") */
    char* app; /* section */
    HWND H;    /* dialog */
    int ID;    /* font box control */
    char* keyStyle;
    char* keyCharset;
    char* keyFontBox;
    int reg; /* non-zero: write the three keys */
} s_choosefont;

typedef struct s_placefunc {
    BYTE PlaceDialogType;  /* 1: x, y is the top-left corner; 2, 3: the anchor point */
    HWND hPlaceDialogType; /* dialog holding the edit controls */
    int IDpx;              /* edit of x */
    int IDpy;              /* edit of y */
    int IDTypePos;         /* combo of the anchor corner (type 2) */
    int Width;             /* size of the item in pixels */
    int Height;
} s_placefunc;

typedef struct s_loadpicture {
    SIZE* Sw;   /* receives the picture's size */
    char* name; /* path (environment references are expanded) */
} s_loadpicture;

typedef struct s_imgtobmp {
    void* LoadedImage; /* picture handle of service 8 */
    SIZE* So;          /* its size */
    SIZE* Sn;          /* wanted size, or 0 for So */
    int bBorder;       /* non-zero: frame */
    COLORREF iColBorder;
    int iThickBoder;
} s_imgtobmp;

typedef struct s_scalebitmap {
    HBITMAP hBitTemp;
    int* wNewWidth; /* in: wanted, out: produced */
    int* wNewHeight;
    char* nameBUF; /* scratch name the loader may use */
} s_scalebitmap;

typedef struct s_imgtosmallbmp {
    HWND HPic;         /* picture control */
    HBITMAP* hBit;     /* replaced by the preview bitmap */
    void* LoadedImage; /* released by the host */
    SIZE* Sw;          /* the picture's size */
} s_imgtosmallbmp;

typedef struct s_inputInitParam {
    HWND hwnd;    /* owner */
    int iCaption; /* caption: number in the host's "STRING" section */
    int iTitle;   /* prompt: number in the host's "STRING" section */
    char* inText; /* initial text (heap) or 0; freed with the record */
    int yInt;     /* non-zero: digits only, centred */
} s_inputInitParam;

/* Kind 2 of the HTTP client: called for every delivered piece. */
typedef int (*SaveRezFunction)(FILE* stream, const char* data, int length);

typedef struct s_getinetfile {
    char* url;
    char* sstop;  /* stop string, or 0 */
    int bError;   /* non-zero: failures shown in message boxes */
    BYTE btype;   /* 0 memory, 1 file, 2 the function pSaveRez */
    int* Lread;   /* kind 0: bytes delivered */
    char* sfout;  /* kinds 1, 2: file to create, or 0 */
    FILE* Fout;   /* kinds 1, 2 without sfout: an open stream */
    SaveRezFunction pSaveRez;
} s_getinetfile;

typedef struct s_drawbit {
    HDC hDC;
    HBITMAP hBit;
    int xbit;
    int ybit;
    int wbit;
    int hbit;
    BYTE trans;     /* non-zero: the key colour shows what lies beneath */
    float alpha;    /* share of what lies beneath, 0.0 .. 1.0 */
    BYTE otnpos;    /* anchor: 1 x is the right edge, 2 y is the bottom edge, 3 both */
    BYTE RevCol;    /* colour mode */
    BYTE Tolerance; /* per channel, for the key colour */
    BYTE Angle;     /* key from: 0 first pixel, 1 end of the first row, 2 start of the last row, 3 last pixel, 4/5 TransCol */
    COLORREF TransCol;
} s_drawbit;

typedef struct s_checkmainmenuitem {
    int ID;
    int Check;
} s_checkmainmenuitem;

typedef struct s_selfolder {
    HWND hwnd;
    char* TempDir; /* folder to start in, or 0 */
    char* R;       /* prompt */
} s_selfolder;

typedef struct s_selfile {
    HWND howner;
    char* filter; /* the system's filter string (pairs, double-NUL ended) */
    char* title;
    char* ext;    /* forced on save */
    int OpenSave; /* non-zero open, 0 save */
} s_selfile;

/* Services 28 and 29: files to add to or remove from a wallpaper list. */
typedef struct s_filenode {
    char* path;
    struct s_filenode* next;
} s_filenode;

typedef struct s_filetolist {
    s_filenode* sb; /* the files, newest first */
    char* namelist; /* the list's name */
} s_filetolist;

/* A month calendar's layout (stored as "%d %d %hd"). */
typedef struct s_month {
    int x;
    int y;
    unsigned char size; /* larger is smaller: the unit is the area / ((0.5 * size + 1) * 20) */
    int imonth;         /* 1..12, filled by the host */
    int iyear;
} s_month;

typedef struct s_drawcalendar {
    HDC hDC;
    s_month* mm;  /* position and size; month and year filled by the host */
    char* syear;  /* "" or 0: this year; "2030"; "+1"; "-1" */
    char* smonth; /* "" or 0: this month; "5"; "+3"; "-1" */
} s_drawcalendar;

#ifdef __cplusplus
}
#endif

/* The layouts are part of the contract with plug-ins built elsewhere. */
#if defined(_WIN32) && !defined(_WIN64)
#ifdef __cplusplus
#define KV_LAYOUT_CHECK(record, bytes) static_assert(sizeof(record) == (bytes), #record " keeps its 32-bit layout")
#else
#define KV_LAYOUT_CHECK(record, bytes) _Static_assert(sizeof(record) == (bytes), #record " keeps its 32-bit layout")
#endif
KV_LAYOUT_CHECK(s_hotkey, 12);
KV_LAYOUT_CHECK(s_menuitem, 8);
KV_LAYOUT_CHECK(keyset, 8);
KV_LAYOUT_CHECK(menudata, 268);
KV_LAYOUT_CHECK(s_savepicture, 8);
KV_LAYOUT_CHECK(s_addtooltip, 12);
KV_LAYOUT_CHECK(s_setlayeredwin, 16);
KV_LAYOUT_CHECK(s_choosefont, 32);
KV_LAYOUT_CHECK(s_placefunc, 28);
KV_LAYOUT_CHECK(s_loadpicture, 8);
KV_LAYOUT_CHECK(s_imgtobmp, 24);
KV_LAYOUT_CHECK(s_scalebitmap, 16);
KV_LAYOUT_CHECK(s_imgtosmallbmp, 16);
KV_LAYOUT_CHECK(s_inputInitParam, 20);
KV_LAYOUT_CHECK(s_getinetfile, 32);
KV_LAYOUT_CHECK(s_drawbit, 40);
KV_LAYOUT_CHECK(s_checkmainmenuitem, 8);
KV_LAYOUT_CHECK(s_selfolder, 12);
KV_LAYOUT_CHECK(s_selfile, 20);
KV_LAYOUT_CHECK(s_filenode, 8);
KV_LAYOUT_CHECK(s_filetolist, 8);
KV_LAYOUT_CHECK(s_month, 20);
KV_LAYOUT_CHECK(s_drawcalendar, 16);
#undef KV_LAYOUT_CHECK
#endif

#endif /* DRAVONEL_PLUGIN_H */
