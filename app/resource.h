#pragma once
// Resource and control identifiers of the program; the numbers are part of its dialog templates.

#define IDD_MAIN                102
#define IDD_SKINBOX             129

#define IDI_PROGRAM             128
#define IDI_CLOSE               131
#define IDI_MINIMIZE            133
#define IDI_HELP_BUTTON         136
#define IDI_ABOUT               137
#define IDI_MAIL                139
#define IDI_WEB                 140
#define IDI_REMOVE_SELECTED     146
#define IDI_REMOVE_ALL          147
#define IDI_SAVE_LOG            153
#define IDI_LOAD_BATCH          155
#define IDI_SAVE_BATCH          157
#define IDI_RULE_UP             169
#define IDI_RULE_DOWN           171
#define IDI_UNDO                180
#define IDI_PREVIEW             181
#define IDI_SELECT_ALL          183
#define IDI_MOVE_TO             184
#define IDI_ADD_RULE            185
#define IDI_DELETE_RULE         186
#define IDI_INVERT              189
#define IDI_COPY_TO             190
#define IDI_ADD_FILES           191
#define IDI_ADD_DIR             192
#define IDI_UPDATE              198
#define IDI_RENAME              200

#define IDB_CAPTION_SCHEME1     231

#define IDC_FILE_LIST           1000
#define IDC_ADD_DIR             1001
#define IDC_ADD_FILES           1002
#define IDC_CASE                1003
#define IDC_FILTER              1004
#define IDC_REMOVE_SELECTED     1005
#define IDC_RULE_LIST           1006
#define IDC_ADD_RULE            1007
#define IDC_DELETE_RULE         1008
#define IDC_RULE_TARGET         1009
#define IDC_RULE_ACTION         1010
#define IDC_RULE_ARG1           1011
#define IDC_RULE_ARG2           1012
#define IDC_RESULT_LIST         1013
#define IDC_WEB                 1015
#define IDC_MAIL                1016
#define IDC_HELP_BUTTON         1017
#define IDC_ABOUT               1018
#define IDC_PREVIEW             1019
#define IDC_RENAME              1020
#define IDC_UNDO                1021
#define IDC_RULE_ARG_LABEL      1022
#define IDC_LOAD_BATCH          1023
#define IDC_SAVE_BATCH          1024
#define IDC_SAVE_LOG            1025
#define IDC_REMOVE_ALL          1026
#define IDC_SUBDIR              1027
#define IDC_RULE_UP             1028
#define IDC_RULE_DOWN           1029
#define IDC_QUICKVIEW_GROUP     1030
#define IDC_MOVE_TO             1031
#define IDC_SELECT_ALL          1032
#define IDC_INVERT              1033
#define IDC_COPY_TO             1034
#define IDC_QUICKVIEW           1035
#define IDC_FILE_LIST_GROUP     1036
#define IDC_UPDATE              1037
#define IDC_EXCLUDE             1038
#define IDC_SHELL_CONTEXT       1039

#define IDC_CLOSE_BUTTON        2
#define IDC_MINIMIZE_BUTTON     5001
