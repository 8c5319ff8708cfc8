// Resource ids, grouped by kind. Shared by the resource script and the code.
#ifndef TARVOLO_RES_RESOURCE_H
#define TARVOLO_RES_RESOURCE_H

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_BENCH 102
#define IDD_REPORT 129

// Strings
#define IDS_ABOUTBOX 101

// The application icon
#define IDR_MAINFRAME 128

// Controls
#define IDC_LIMIT 1000
#define IDC_REPORT 1001
#define IDC_RESULT 1002
#define IDC_BEST 1003
#define IDC_REPORT_TEXT 1004
#define IDC_NOTICE 1005

// System-menu commands
#define IDM_ABOUTBOX 0x0010

#endif
