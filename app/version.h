/* The program's identity: one source for the version resource, the About box, the
   message boxes, the settings key and the tests. Plain macros, so that the resource
   compiler can read this file too. */
#pragma once

#define TARVELLO_VERSION_MAJOR 1
#define TARVELLO_VERSION_MINOR 0
#define TARVELLO_VERSION_REVISION 7

/* Numeric file and product version: major, minor, 0, revision. */
#define TARVELLO_VERSION_NUMBERS 1, 0, 0, 7
/* The version texts of the resource. */
#define TARVELLO_VERSION_TEXT "1.00.0007"

#define TARVELLO_TITLE "Tarvello Rounding Utility"
#define TARVELLO_COMPANY "Brellwick Technologies, Inc."
#define TARVELLO_COMMENTS "Brellwick Technologies, Inc. does not support this application."

/* The same title as a 16-bit text, for code that speaks to Windows or the host. */
#define TARVELLO_TITLE_U16 u"Tarvello Rounding Utility"
