// Controls of the hot-key page (template 109) and its row list (1090).
#pragma once

#define IDKEYHEAD 10900
#define IDKEYCOMMANDTEXT 10901
#define IDKEYREG 10902
#define IDRESET 10903
#define IDKEYWINTEXT 10904
#define IDKEYCOMBTEXT 10905
#define IDKEYNOTE 10906
#define IDKEYCAPTURENOTE 10907

// Row i of the list: its label 3000 + i, its "Win +" box 1000 + i and its
// editor 2000 + i; 2000 + i is also the row's hot-key id.
#define IDSTA1 3000
#define IDWIN1 1000
#define IDHOTKEY1 2000
