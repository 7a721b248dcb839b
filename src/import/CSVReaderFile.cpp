// ReadRemapFile: the reader over a file, through the store's text file.
#include "import/CSVReader.h"

#include "store/CVNTextFile.h"

ReadResult ReadRemapFile(const CString& path, int kind) noexcept {
    try {
        ReleaseRemapData();
        remapTable.fileName = path;
        // An empty path would make the text file ask for one; the import
        // never hands one in, and the reader does not ask.
        if (path.IsEmpty())
            return CannotRead;
        std::u16string text;
        CString pathToRead(path);
        CVNTextFile file(CString(), CString(u"\n"));
        // The tokenizer takes CR LF and LF alike.
        if (!file.ReadTextAsIs(pathToRead, text))
            return CannotRead;
        return ReadRemapBuffer(std::move(text), kind, path);
    } catch (...) {
        // A read error after the open, or memory running out.
        ReleaseRemapData();
        return CannotRead;
    }
}
