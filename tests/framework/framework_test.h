// Ids of the framework tests' own dialog templates.
#pragma once

#define IDD_TEST_OWNER   500
#define IDD_TEST_DIALOG  501
#define IDC_TEST_BUTTON  502
#define IDC_TEST_DRAWN   503
#define IDC_TEST_TEXT    504
