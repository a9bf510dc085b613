/* Control and menu numbers, shared by resources/ipsettings.rc and the code. Plain
   macros, because the resource compiler reads this file too. */
#ifndef IPSETTINGS_RESOURCE_IDS_H
#define IPSETTINGS_RESOURCE_IDS_H

/* Main window (DIALOG1). Values are the even numbers from the first one on; each
   value's label is the number before it. */
#define IDC_FIRST_HOST_VALUE 130 /* 130, 132, ... 142: the seven host fields */
#define IDC_ADAPTER_LIST 144
#define IDC_FIRST_ADAPTER_VALUE 146 /* 146, 148, ... 162: the nine adapter fields */
#define IDC_RENEW 164
#define IDC_RELEASE 165
#define IDC_RENEW_ALL 166
#define IDC_RELEASE_ALL 167
#define IDC_SHOW_CONSOLE 168

/* Console window (DIALOG2) and its menu (MENU2). */
#define IDC_CONSOLE_OUTPUT 128
#define IDM_SHOW 256
#define IDM_SHOW_ALL 257
#define IDM_RENEW_FIRST_LINE 258
#define IDM_RELEASE_FIRST_LINE 259
#define IDM_RENEW_ALL 260
#define IDM_RELEASE_ALL 261
#define IDM_RUN_FIRST_LINE 262
#define IDM_HELP 263
#define IDM_CLEAR 264

#endif
