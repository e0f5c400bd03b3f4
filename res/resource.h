#pragma once
// Resource ids of the saver executable.

#define IDS_DESCRIPTION 1   // the saver's display name in the system's list
#define IDS_PATH_TOO_LONG 2 // the picture path is longer than the settings dialog accepts
#define IDS_SAVE_FAILED 3   // the settings file could not be written (%1: its path)
// What screen readers hear for the dialog's controls.
#define IDS_ACC_SPEED 4       // the slider's name
#define IDS_ACC_FRONT_COLOR 5 // the swatches' names
#define IDS_ACC_BACK_COLOR 6
#define IDS_ACC_BROWSE 7      // the "..." button's name
#define IDS_ACC_COLOR_VALUE 8 // a swatch's colour (%1, %2, %3: red, green, blue)
#define IDS_ACC_PRESS 9       // a swatch's default action
#define IDS_ACC_JUMP 10       // a link's default action
#define IDI_APPICON 128
#define IDD_SETTINGS 102
#define IDR_BUILTIN_PICTURE 154 // type "JPEG"

#define IDC_SPEED_SLIDER 1001
#define IDC_VERSION_LINE 1009
#define IDC_COPYRIGHT_LINE 1010
#define IDC_PICTURE_FILE 1015
#define IDC_BROWSE 1016
#define IDC_SPIRAL_TIME 1017
#define IDC_PICTURE_TIME 1018
#define IDC_SPIRAL_SPIN 1019
#define IDC_PICTURE_SPIN 1020
#define IDC_URL_LINK 1021
#define IDC_MAIL_LINK 1022
#define IDC_FRONT_COLOR 1029
#define IDC_BACK_COLOR 1030

// The dialog framework's validation messages (texts in the string table).
#include "../fw/FwResource.h"
