// The main menu's commands. The item ids are command numbers: hot keys,
// the menu-items page and plug-ins run commands by them, so they never
// change.
#pragma once

enum {
    IDPAUTOST = 0,
    IDPSETTINGS = 1,
    IDPFILELIST = 2,
    IDPPERIOD = 3,
    IDPPREVIOUS = 4,
    IDPNEXT = 5,
    IDPCALEN = 6,
    IDPHIDEICON = 7,
    IDPDESK = 8,
    IDPSETSCR = 9,
    IDPSELSCR = 10,
    IDPRUNSCR = 11,
    IDPBLOCK = 12,
    IDPSLEEP = 13,
    IDPCHECKOFF = 14,
    IDPLANG = 15,
    IDPABOUT = 16,
    IDPEXIT = 17,
    BUILTIN_MENU_ITEMS = 18,
};
