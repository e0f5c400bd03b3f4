#pragma once
// Resources of a module in one chosen language. The system's own loaders pick a language from the thread's
// user-interface settings; the program instead shows the face it chose at start-up, whatever those say.
#include <windows.h>

#include <string>

// String id in lang, in the ANSI code page; where lang has no such string, the system's own choice of
// language. Empty when the module has none at all.
std::string LoadStringIn(HMODULE module, UINT id, LANGID lang);

// Dialog template id in lang, else in the system's own choice of language; null when the module has none.
const DLGTEMPLATE* LoadDialogTemplateIn(HMODULE module, UINT id, LANGID lang);

// The bytes of resource name of type in module (they live as long as the module); null when there is none.
const void* LoadResourceBytes(HMODULE module, LPCSTR name, LPCSTR type, DWORD* size);
