/* The program's resource ids, written once: the resource script and the
   code both include this file. Every resource is loaded by number. Plain
   #defines, so that the resource compiler reads them too. */
#ifndef SHELFCLOAK_RESOURCE_H
#define SHELFCLOAK_RESOURCE_H

/* Strings */
#define IDS_WINDOW_TITLE 103 /* "Shelf Cloak" */
#define IDS_WINDOW_CLASS 109 /* "SHELFCLOAK" */

/* Icons */
#define IDI_PROGRAM_ICON 107 /* window class, About box */
#define IDI_SMALL_ICON 108   /* window class, notification area */

/* The tray menu and its commands */
#define IDR_TRAY_MENU 129
#define CMD_SETTINGS 32772 /* "Settings..." */
#define CMD_ABOUT 57664    /* "About ..." */
#define CMD_EXIT 57665     /* "Exit" */

/* The About box */
#define IDD_ABOUT 102
#define IDC_ABOUT_ICON 2   /* a plain picture; IDCANCEL's number, but it sends nothing */
#define IDC_HOME_PAGE 1001 /* the static that becomes the link */
/* The project's home page: the text the template gives IDC_HOME_PAGE, and
   the link's target. */
#define HOME_PAGE_ADDRESS "www.shelfcloak.example"

/* The Settings dialog */
#define IDD_SETTINGS 130
#define IDC_STARTUP 1000
#define IDC_CTRLSHIFT_KEY 1004
#define IDC_WIN_KEY 1005
#define IDC_CTRLSHIFT_RADIO 1006
#define IDC_WIN_RADIO 1007
#define IDC_FORCE 1008
#define IDC_STAY_HIDDEN 1009

/* Unnamed static controls and group boxes */
#define IDC_NONE -1

#endif
