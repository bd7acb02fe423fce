// Resource ids of KvScrSet.scr. The control ids are the contract with the
// host and the tests: never renumber.
#pragma once

#define IDD_SCRSET 100
#define IDI_SCRSET 200

#define IDPERIODTEXT 1000
#define IDSCRLIST 1001
#define IDMAIL 1002
#define IDPREVIEW 1003
#define IDHINT 1004
#define IDRNDSTART 1005
#define IDABOUT 1006
#define IDCHANGE 1007
#define IDPERIOD 1008
#define IDSETUP 2000
#define IDTEST 2001
