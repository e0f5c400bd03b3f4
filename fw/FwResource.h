#pragma once
// Resource ids the framework itself loads; a program's resource script defines the texts under these ids.
// Plain macros, so the resource compiler can read this file too.

#define AFX_IDP_PARSE_INT 61712       // "not an integer"
#define AFX_IDP_PARSE_INT_RANGE 61714 // "an integer from %1 to %2"
