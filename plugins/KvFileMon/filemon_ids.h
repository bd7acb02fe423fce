// Resources of the folder monitor: its page (template 100) and icons.
#pragma once

#define IDD_FILEMON 100

// Texts from section "FILEMON" of the language file.
#define IDFMHEAD 10000
#define IDFMFOLDERTEXT 10001
#define IDFMLISTTEXT 10002
#define IDFMSUBFOLDERS 10003
#define IDFMCLEAR 10004

#define IDFMWATCHLIST 10100
#define IDFMFOLDER 10101
#define IDFMBROWSE 10102
#define IDFMLISTS 10103
#define IDFMADD 10104
#define IDFMREMOVE 10105

#define IDI_FMBROWSE 201
#define IDI_FMADD 202
#define IDI_FMREMOVE 203
