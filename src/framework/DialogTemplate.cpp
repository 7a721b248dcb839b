#include "framework/DialogTemplate.h"

#include "framework/CWnd.h"

#include <cstring>
#include <cwchar>

namespace {

// Skips a "string or ordinal" field; 0 when it runs past the end.
size_t SkipStringOrOrdinal(const BYTE* p, size_t offset, size_t size) {
    if (offset + 2 > size)
        return 0;
    WORD first;
    std::memcpy(&first, p + offset, 2);
    if (first == 0x0000)
        return offset + 2;
    if (first == 0xFFFF)
        return offset + 4 <= size ? offset + 4 : 0;
    for (size_t at = offset; at + 2 <= size; at += 2) {
        WORD ch;
        std::memcpy(&ch, p + at, 2);
        if (ch == 0)
            return at + 2;
    }
    return 0;
}

size_t AlignToDword(size_t offset) { return (offset + 3) & ~size_t(3); }

}  // namespace

BOOL CopyTemplateWithFont(const BYTE* p, size_t size, WORD wPointSize, const wchar_t* pszFace,
                          std::vector<BYTE>& copy) {
    copy.clear();
    if (!p || size < 18)
        return FALSE;
    WORD version, signature;
    std::memcpy(&version, p, 2);
    std::memcpy(&signature, p + 2, 2);
    bool extended = version == 1 && signature == 0xFFFF;
    size_t styleOffset = extended ? 12 : 0;
    size_t headerSize = extended ? 26 : 18;
    if (size < headerSize)
        return FALSE;
    DWORD style;
    std::memcpy(&style, p + styleOffset, 4);

    size_t offset = headerSize;
    for (int field = 0; field < 2 && offset; ++field)  // menu, class
        offset = SkipStringOrOrdinal(p, offset, size);
    if (offset)  // title: always a string
        offset = SkipStringOrOrdinal(p, offset, size);
    if (!offset)
        return FALSE;
    size_t fontOffset = offset;
    if (style & DS_SETFONT) {
        offset += extended ? 6 : 2;
        if (offset > size || !(offset = SkipStringOrOrdinal(p, offset, size)))
            return FALSE;
    }
    size_t itemsOffset = AlignToDword(offset);
    if (itemsOffset > size)
        itemsOffset = size;

    copy.assign(p, p + fontOffset);
    style |= DS_SETFONT;
    std::memcpy(copy.data() + styleOffset, &style, 4);
    auto append = [&copy](const void* data, size_t length) {
        auto* bytes = static_cast<const BYTE*>(data);
        copy.insert(copy.end(), bytes, bytes + length);
    };
    append(&wPointSize, 2);
    if (extended) {
        WORD weight = FW_NORMAL;
        BYTE italic = 0, charset = DEFAULT_CHARSET;
        append(&weight, 2);
        append(&italic, 1);
        append(&charset, 1);
    }
    append(pszFace, (std::wcslen(pszFace) + 1) * sizeof(wchar_t));
    copy.resize(AlignToDword(copy.size()), 0);
    append(p + itemsOffset, size - itemsOffset);
    return TRUE;
}

BOOL LoadPageTemplateInSheetFont(UINT nID, std::vector<BYTE>& copy) {
    HINSTANCE hInstance = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceW(hInstance, MAKEINTRESOURCEW(nID), MAKEINTRESOURCEW(5));  // RT_DIALOG
    HGLOBAL hData = hResource ? ::LoadResource(hInstance, hResource) : nullptr;
    auto* pTemplate = hData ? static_cast<const BYTE*>(::LockResource(hData)) : nullptr;
    if (!pTemplate)
        return FALSE;
    return CopyTemplateWithFont(pTemplate, ::SizeofResource(hInstance, hResource), kSheetFontSize, kSheetFontFace,
                                copy);
}
