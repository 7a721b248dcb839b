// Resource ids shared by Varnel.rc and the code that loads its resources.
// Plain #defines only: windres reads this file too.
#pragma once

// Dialog templates and the sheet's menu
#define IDD_ABOUTBOX            100
#define IDD_PAGE_WEIGHTS        101
#define IDD_PAGE_COLORS         102
#define IDD_PAGE_LINESTYLES     103
#define IDD_PAGE_ALIASES        104
#define IDD_PAGE_MAPCMD         105
#define IDD_PAGE_CELLS          106
#define IDR_MENU_SHEET          107
#define ID_IMPORT_V7            108
#define ID_IMPORT_V8            109
#define IDD_PAGE_LEVELS         110

// The Edit menu's commands
#define ID_EDIT_UNDO            120
#define ID_EDIT_REDO            121
#define ID_EDIT_FIND            122
#define ID_EDIT_FIND_NEXT       123
#define ID_EDIT_SELECT_ALL      124

// Group icons
#define IDI_VARNEL              201
#define IDI_SHEET               501

// Controls on the page templates
#define IDC_PAGE_LABEL          503
#define IDC_EDIT1               504
#define IDC_EDIT2               505
#define IDC_COMBO1              506
#define IDC_COMBO2              507
#define IDC_INSERT              508
#define IDC_DELETE              509
#define IDC_LIST                510

// String table
#define IDS_ABOUT               1000
#define IDS_SAVE                1001
#define IDS_CANCEL              1002
#define IDS_CAPTION             1003
#define IDS_CONFIRM_DISCARD     1005
#define IDS_COL_MICROSTATION    1006
#define IDS_COL_AUTOCAD         1007
#define IDS_ALIASES             1008
#define IDS_MAPPING_COMMANDS    1009
#define IDS_COLORS              1010
#define IDS_LINE_STYLES         1011
#define IDS_CELLS               1012
#define IDS_LINE_WEIGHTS        1013
#define IDS_COL_SYNONYMS        1014
#define IDS_COL_COMMANDS        1015
#define IDS_DESCRIPTION_LABEL   1016
#define IDS_CONFIRM_DELETE      1017
#define IDS_SELECT_FILE         1018
#define IDS_NOT_RECOGNISED      1019
#define IDS_CANNOT_READ         1020

// Text in the system's code page
#define IDS_UNENCODABLE_CHAR        1100

// A save that failed, each naming the mapping file (%s), then the sentence
// that says nothing was lost; the question before overwriting another
// editor's save
#define IDS_SAVE_IN_USE         1130
#define IDS_SAVE_READ_ONLY      1131
#define IDS_SAVE_FOLDER_DENIED  1132
#define IDS_SAVE_ACCESS_DENIED  1133
#define IDS_SAVE_DISK_FULL      1134
#define IDS_SAVE_IS_FOLDER      1135
#define IDS_SAVE_PATH_TOO_LONG  1136
#define IDS_SAVE_FOLDER_MISSING 1137
#define IDS_SAVE_OTHER          1138
#define IDS_SAVE_NOTHING_LOST   1139
#define IDS_SAVE_CHANGED        1140
#define IDS_SAVE_NOT_READ       1141

// Edit > Find: no further match, nowhere a match
#define IDS_FIND_WRAP_DOWN      1150
#define IDS_FIND_WRAP_UP        1151
#define IDS_FIND_NOT_FOUND      1152

// Balloon help texts: the sheet's buttons, then five per page
// (list, Insert, Delete, then the two inputs in the order the page describes them)
#define IDS_HELP_SAVE               5001
#define IDS_HELP_CANCEL             5002
#define IDS_HELP_WEIGHTS_LIST       5003
#define IDS_HELP_WEIGHTS_INSERT     5004
#define IDS_HELP_WEIGHTS_DELETE     5005
#define IDS_HELP_WEIGHTS_MS         5006
#define IDS_HELP_WEIGHTS_ACAD       5007
#define IDS_HELP_COLORS_LIST        5008
#define IDS_HELP_COLORS_INSERT      5009
#define IDS_HELP_COLORS_DELETE      5010
#define IDS_HELP_COLORS_MS          5011
#define IDS_HELP_COLORS_ACAD        5012
#define IDS_HELP_ALIASES_LIST       5013
#define IDS_HELP_ALIASES_INSERT     5014
#define IDS_HELP_ALIASES_DELETE     5015
#define IDS_HELP_ALIASES_EDIT2      5016
#define IDS_HELP_ALIASES_EDIT1      5017
#define IDS_HELP_MAPCMD_LIST        5018
#define IDS_HELP_MAPCMD_INSERT      5019
#define IDS_HELP_MAPCMD_DELETE      5020
#define IDS_HELP_MAPCMD_EDIT2       5021
#define IDS_HELP_MAPCMD_EDIT1       5022
#define IDS_HELP_LINESTYLES_LIST    5023
#define IDS_HELP_LINESTYLES_INSERT  5024
#define IDS_HELP_LINESTYLES_DELETE  5025
#define IDS_HELP_LINESTYLES_EDIT2   5026
#define IDS_HELP_LINESTYLES_EDIT1   5027
#define IDS_HELP_CELLS_LIST         5028
#define IDS_HELP_CELLS_INSERT       5029
#define IDS_HELP_CELLS_DELETE       5030
#define IDS_HELP_CELLS_EDIT2        5031
#define IDS_HELP_CELLS_EDIT1        5032
#define IDS_HELP_LEVELS_LIST        5033
#define IDS_HELP_LEVELS_INSERT      5034
#define IDS_HELP_LEVELS_DELETE      5035
#define IDS_HELP_LEVELS_EDIT2       5036
#define IDS_HELP_LEVELS_EDIT1       5037

// Application manifest (common controls v6)
#define IDR_MANIFEST            2
