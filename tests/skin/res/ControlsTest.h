// Resource ids of the control tests' own images and template.
#pragma once

#define IDD_CONTROLS_TEST      400
#define IDC_TEST_PNG_BUTTON    401
#define IDC_TEST_EDGE_BUTTON   402
#define IDC_TEST_IMAGE_BUTTON  403
#define IDC_TEST_CHECK         404
#define IDC_TEST_STATE_STATIC  405
#define IDC_TEST_TEXT_STATIC   406

#define IDB_TEST_NORMAL        410
#define IDB_TEST_HOVER         411
#define IDB_TEST_PRESSED       412
#define IDB_TEST_DISABLED      413
#define IDB_TEST_EDGE          414
#define IDB_TEST_BIG_NORMAL    415
#define IDB_TEST_BIG_HOVER     416
#define IDB_TEST_BIG_PRESSED   417
#define IDB_TEST_BIG_DISABLED  418
#define IDB_TEST_PANEL         419
#define IDB_TEST_CHECKBOX      140
