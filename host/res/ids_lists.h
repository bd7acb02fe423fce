// Controls of the lists page (template 106), its preview (105) and the
// input dialog (100).
#pragma once

#define IDD_INPUT 100
#define IDINPUTPROMPT 1000
#define IDINPUTTEXT 1001

#define IDCOLORLABEL 10600
#define IDPREVIEW 10601
#define IDTRACK 10602
#define IDUPDATELIST 10603
#define IDLISTSHEAD 10604
#define IDLISTLIST 10610
#define IDNEWLIST 10611
#define IDRENAMELIST 10612
#define IDDELETELIST 10613
#define IDBACKGR 10614
#define IDADDFOLDER 10615
#define IDADDFILES 10616
#define IDADDENTRY 10617
#define IDREMOVEFOLDER 10618
#define IDREMOVEFILES 10619
#define IDEXCLUDE 10620
#define IDCLEARLIST 10621
#define IDREMOVEROW 10622
#define IDDELFILE 10623
#define IDOPENPICTURE 10624
#define IDOPENFOLDER 10625
#define IDWALLLIST 10626
#define IDCURRENTPATH 10627
#define IDPICSIZE 10628  // "W x H" of the previewed picture

// Placement menu items 700 .. 709 (placement digit = id - 700).
#define IDPLACEMENT0 700
