// Resource and control ids of the dates plug-in. Texts of the controls
// 11100..11125 and 11145 come from section "DATE" of the language file
// under the same numbers.
#pragma once

#define IDD_DATESPAGE 111

// Texted controls.
#define IDC_FILESHEAD 11100
#define IDC_ENTRIESHEAD 11101
#define IDC_PRINTHEAD 11102
#define IDC_PRINT 11103
#define IDC_PLACE 11104
#define IDC_AUTOWRAP 11105
#define IDC_OUTLINE 11106
#define IDC_DAYCOLOURON 11107
#define IDC_FRAMECOLOURON 11108
#define IDC_CORNERTEXT 11109
#define IDC_SHIFTTEXT 11110
#define IDC_GAPTEXT 11111
#define IDC_FONTTEXT 11112
#define IDC_COLOURMODETEXT 11113
#define IDC_ALPHATEXT 11114
#define IDC_SAVE 11115
#define IDC_TYPETEXT 11116
#define IDC_XTEXT 11117
#define IDC_YTEXT 11118
#define IDC_HEIGHTTEXT 11119
#define IDC_COLOURTEXT 11122
#define IDC_NEWFILE 11123
#define IDC_DELETEFILE 11124
#define IDC_RENAMEFILE 11125
#define IDC_INFO 11145

// Controls without a text of their own.
#define IDC_FILES 11120
#define IDC_MONTH 11121
#define IDC_PREVMONTH 11126
#define IDC_NEXTMONTH 11127
#define IDC_ENTRY 11128
#define IDC_TYPE 11130
#define IDC_CORNER 11131
#define IDC_COLOUR 11132
#define IDC_OUTLINECOLOUR 11133
#define IDC_SHIFT 11134
#define IDC_DAYCOLOUR 11135
#define IDC_GAP 11136
#define IDC_FRAMECOLOUR 11137
#define IDC_HEIGHT 11138
#define IDC_FONTBOX 11139
#define IDC_X 11140
#define IDC_Y 11141
#define IDC_COLOURMODE 11142
#define IDC_ALPHA 11143

// The month grid, made at run time: weekday headers, then day d as
// IDC_DAY0 + d.
#define IDC_WEEKDAY0 11150
#define IDC_DAY0 11160
