#include "fw/ResourceLoad.h"

#include "fw/StringBlock.h"

namespace {

// Data of a resource; resources live as long as the module, so nothing is released.
const void* ResourceData(HMODULE module, HRSRC res, DWORD* size) {
    HGLOBAL loaded = res != nullptr ? ::LoadResource(module, res) : nullptr;
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    *size = data != nullptr ? ::SizeofResource(module, res) : 0;
    return data;
}

std::u16string StringFrom(HMODULE module, HRSRC res, UINT id) {
    DWORD size = 0;
    const void* data = ResourceData(module, res, &size);
    std::u16string text;
    StringFromBlock(data, size, id, text);
    return text;
}

std::string ToAnsi(const std::u16string& text) {
    if (text.empty())
        return std::string();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int units = static_cast<int>(text.size());
    int len = ::WideCharToMultiByte(CP_ACP, 0, wide, units, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(len > 0 ? len : 0), '\0');
    if (len > 0)
        ::WideCharToMultiByte(CP_ACP, 0, wide, units, out.data(), len, nullptr, nullptr);
    return out;
}

} // namespace

std::string LoadStringIn(HMODULE module, UINT id, LANGID lang) {
    LPCSTR block = MAKEINTRESOURCEA(StringBlockName(id));
    std::u16string text = StringFrom(module, ::FindResourceExA(module, RT_STRING, block, lang), id);
    if (text.empty())
        text = StringFrom(module, ::FindResourceA(module, block, RT_STRING), id);
    return ToAnsi(text);
}

const DLGTEMPLATE* LoadDialogTemplateIn(HMODULE module, UINT id, LANGID lang) {
    LPCSTR name = MAKEINTRESOURCEA(id);
    HRSRC res = ::FindResourceExA(module, RT_DIALOG, name, lang);
    if (res == nullptr)
        res = ::FindResourceA(module, name, RT_DIALOG);
    DWORD size = 0;
    return static_cast<const DLGTEMPLATE*>(ResourceData(module, res, &size));
}

const void* LoadResourceBytes(HMODULE module, LPCSTR name, LPCSTR type, DWORD* size) {
    return ResourceData(module, ::FindResourceA(module, name, type), size);
}
