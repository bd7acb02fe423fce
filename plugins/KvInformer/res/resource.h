// Resource and control ids of KvInformer. The ids are the contract with the
// language file (section "INFORMER") and with the host's tool tips: never
// renumber.
#pragma once

// Templates.
#define IDD_INFORMER 116
#define IDD_BORDER 117

// Menu item icons: 310 + the item's index.
#define IDI_MENU_DRAW 310
#define IDI_MENU_UPDATE 311
#define IDI_MENU_WEATHER 312
#define IDI_MENU_INDEX 313

// Settings page, fields of the selected informer.
#define IDC_INFHEAD 11600
#define IDC_NAMETEXT 11601
#define IDC_KINDTEXT 11602
#define IDC_URLTEXT 11603
#define IDC_TRANSTEXT 11606
#define IDC_TOLERTEXT 11607
#define IDC_CALTEXT 11608
#define IDC_HTMLTEXT 11609
#define IDC_WEATHERHEAD 11610
#define IDC_DRAWINFORM 11611
#define IDC_GISTEXT 11612
#define IDC_RP5TEXT 11613
#define IDC_TOWNTEXT 11614
#define IDC_BROWSERTEXT 11615
#define IDC_KEYTEXT 11616
#define IDC_FOLDERTEXT 11617
#define IDC_NAME 11620
#define IDC_ENABLED 11621
#define IDC_KIND 11622
#define IDC_URL 11623
#define IDC_BROWSE 11624
#define IDC_WIDTH 11625
#define IDC_HEIGHT 11626
#define IDC_ASPECT 11627
#define IDC_TRANS 11628
#define IDC_TRANSVALUE 11629
#define IDC_COLOURKEY 11630
#define IDC_KEYSOURCE 11631
#define IDC_TOLERANCE 11632
#define IDC_RANDOM 11633
#define IDC_ADVANCE 11634
#define IDC_CALSCALE 11635
#define IDC_CALMONTH 11636
#define IDC_CALYEAR 11637
#define IDC_HTML 11638
#define IDC_BODYBUTTON 11639
#define IDC_TOWNGIS 11640
#define IDC_TOWNNAME 11641
#define IDC_INFLIST 11642
#define IDC_TOWNRP5 11643
#define IDC_ADD 11644
#define IDC_DELETE 11645
#define IDC_UPDATEONE 11646
#define IDC_UPDATEALL 11647
#define IDC_RESET 11648
#define IDC_BORDERBUTTON 11649
#define IDC_WEATHERUPDATE 11650
#define IDC_WEATHEROPEN 11651
#define IDC_TOWNSEARCH 11652
#define IDC_BROWSER 11653
#define IDC_BROWSERBROWSE 11654
#define IDC_XTEXT 11655
#define IDC_YTEXT 11656
#define IDC_ANCHOR 11657
#define IDC_POSX 11658
#define IDC_POSY 11659
#define IDC_PLACE 11660
#define IDC_PREVIEW 11661
#define IDC_PICK 11662
#define IDC_ANCHORTEXT 11663
#define IDC_MONTHTEXT 11664
#define IDC_YEARTEXT 11665
#define IDC_PICKCOLOUR 11666
#define IDC_WTEXT 11667
#define IDC_HTEXT 11668

// Border dialog (fields J, G and O).
#define IDC_BORDERON 11680
#define IDC_BORDERCOLOUR 11681
#define IDC_BORDERWIDTH 11682
#define IDC_BORDERCOLOURTEXT 11683
#define IDC_BORDERWIDTHTEXT 11684

// Texts of section "INFORMER" that are not control texts.
#define INF_STR_KIND 0        // 0..5: the kinds
#define INF_STR_ANCHOR 10     // 10..13: anchor corners
#define INF_STR_HOTKEY 20     // 20..22: hot-key rows
#define INF_STR_MENU 30       // 30..33: menu items
#define INF_STR_ASPECT 40     // 40..42: keeping the aspect ratio
#define INF_STR_KEYSOURCE 50  // 50..55: where the key colour comes from
#define INF_STR_BORDERCAPTION 60
#define INF_STR_NEWNAME 61
#define INF_STR_CHOOSEFOLDER 62
#define INF_STR_CHOOSEFILE 63
#define INF_STR_FILEFILTER 64
#define INF_STR_PROGRAMFILTER 65
#define INF_STR_CANCEL 66
#define INF_STR_FIELDMARK 67    // typed text refused: "#" and a capital letter
#define INF_STR_TOOLONG 68      // typed text refused: the line would be too long
