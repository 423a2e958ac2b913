// Ids of the settings dialog (resources/SettingDialog.rc). Plain numbers: the portable rules of
// the dialog (config/SettingForm.h) name its controls too.
#pragma once

#define IDD_SETTING_DIALOG 137

// Data folder
#define IDC_SET_BROWSE 1000          // "参照": folder browser
#define IDC_SET_SAVE_DIRECTORY 1036  // [SPEC] SAVE_DIRECTORY
#define IDC_SET_SAVE_LABEL 1033

// Display time: radios 0..3 ([SCALE] TIME_SEL), the fourth with the own value
#define IDC_SET_TIME_LABEL 1087
#define IDC_SET_TIME_0 1007
#define IDC_SET_TIME_1 1008
#define IDC_SET_TIME_2 1009
#define IDC_SET_TIME_OWN 1010
#define IDC_SET_OWN_TIME 1051        // [SCALE] TIME[3]

// Scale
#define IDC_SET_SCALE_GROUP 1084
#define IDC_SET_ACC_AUTO 1019        // "オートスケール"
#define IDC_SET_ACC_0 1028           // 加速度 radios in [SCALE] ACC_SEL order ...
#define IDC_SET_ACC_1 1029
#define IDC_SET_ACC_2 1030
#define IDC_SET_ACC_3 1031
#define IDC_SET_ACC_4 1003
#define IDC_SET_ACC_5 1004
#define IDC_SET_ACC_6 1005
#define IDC_SET_ACC_OWN 1006         // ... the eighth: the own value
#define IDC_SET_OWN_ACC 1127         // [SCALE] ACC[7]
#define IDC_SET_ACCZ_0 1032          // 加速度Ｚ radios in [SCALE] ACCZ_SEL order
#define IDC_SET_ACCZ_1 1050
#define IDC_SET_ACCZ_2 1125
#define IDC_SET_ACCZ_3 1126
#define IDC_SET_ACCZ_4 1011
#define IDC_SET_ACCZ_5 1012
#define IDC_SET_ACCZ_6 1013
#define IDC_SET_ACCZ_OWN 1014
#define IDC_SET_OWN_ACCZ 1128        // [SCALE] ACCZ[7]

// Trigger
#define IDC_SET_TRIG_GROUP 1088
#define IDC_SET_BEFOR_TIME 1037
#define IDC_SET_AFTER_TIME 1040
#define IDC_SET_VAL_XY 1043          // [TRIG] VAL_X and VAL_Y
#define IDC_SET_VAL_Z 1048
#define IDC_SET_PLUSMINUS_XY 1045    // "±" in the large font
#define IDC_SET_PLUSMINUS_Z 1049

// PC clock
#define IDC_SET_CLOCK_LABEL 1089
#define IDC_SET_PC_CLOCK 1015        // read-only, renewed every second
#define IDC_SET_CLOCK_SEND 1018      // "転送"

// Thresholds
#define IDC_SET_THRESHOLD_LABEL 1103
#define IDC_SET_P 1104               // [SHIKI] P
#define IDC_SET_N1 1106
#define IDC_SET_N2 1108
#define IDC_SET_N3 1110
#define IDC_SET_DEVICE_HEADING 1113  // "[装置]"
#define IDC_SET_DEVICE_P 1112        // read-only: the recorder's values as last read
#define IDC_SET_DEVICE_N1 1114
#define IDC_SET_DEVICE_N2 1115
#define IDC_SET_DEVICE_N3 1116
#define IDC_SET_THRESHOLD_READ 1027  // "モニタ"
#define IDC_SET_THRESHOLD_WRITE 1026 // "転送"

// Port
#define IDC_SET_COM_LABEL 1052
#define IDC_SET_COM 1001             // drop-down list; searched at its first drop-down

// PSD
#define IDC_SET_PSD_GROUP 1090
#define IDC_SET_PSD_FLG 1002         // "処理"
#define IDC_SET_WINDOW_LABEL 1062
#define IDC_SET_WINDOW_TYPE 1046     // [PSD] WINDOW_TYPE
#define IDC_SET_HIPASS_FLG 1024
#define IDC_SET_HIPASS 1058          // [PSD] HIPASSFILTER
#define IDC_SET_HIPASS_UNIT 1099     // "(Hz)"
#define IDC_SET_XAXIS_LABEL 1055     // "周波数軸"
#define IDC_SET_XAXIS_LABEL2 1102    // " スケール"
#define IDC_SET_XTYPE_0 1017         // frequency-axis radios in [PSD] XTYPE order
#define IDC_SET_XTYPE_1 1025
#define IDC_SET_XTYPE_2 1016
#define IDC_SET_XTYPE_3 1020
#define IDC_SET_XTYPE_4 1021
#define IDC_SET_XTYPE_5 1022

// Conversion and file size (shown only)
#define IDC_SET_KANZAN_LABEL 1059
#define IDC_SET_KANZAN_X 1053
#define IDC_SET_KANZAN_Y 1056
#define IDC_SET_KANZAN_Z 1057
#define IDC_SET_BIT 1101
#define IDC_SET_KANZAN_NOTE 1077
#define IDC_SET_MAXNUM_LABEL 1063
#define IDC_SET_MAXNUM 1054

// Buttons
#define IDC_SET_FORM_SWITCH 1023     // "詳細＞＞" / "＜＜簡易"
#define IDC_SET_VERSION 1066
#define IDC_SET_DEFAULTS 1067

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
