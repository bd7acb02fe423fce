// Resources of the joke: its page (template 108) and its menu icon.
#pragma once

#define IDD_JOKE 108

// Texts from section "JOKE" of the language file.
#define IDJOKEHEAD 10800
#define IDJOKEPICTURE 10801
#define IDJOKEUPSIDEDOWN 10802
#define IDJOKEMIRROR 10803
#define IDJOKECHANGEWALL 10804
#define IDJOKESECONDS 10805
#define IDJOKEICONS 10806
#define IDJOKETASKBAR 10807
#define IDJOKEWINDOWS 10808
#define IDJOKECURSOR 10809
#define IDJOKERAIN 10810
#define IDJOKEPIXELS 10811
#define IDJOKELOCK 10812
#define IDJOKENOTE 10813

#define IDJOKEPERIOD 10816
#define IDJOKEDROP 10819

// The main-menu item's icon.
#define IDI_JOKE 300
