#pragma once
// Theme files in the encodings they come in. A file starting with FF FE is
// UTF-16LE (Notepad's "Unicode", which the Windows profile functions read and
// write as such), FE FF is UTF-16BE; anything else is bytes. The INI layer
// works on 8-bit text, so UTF-16 is turned into 8-bit text that keeps every
// unit reversibly: each unit becomes its UTF-8 form on its own (a surrogate
// too, so nothing is lost from a damaged file), which is plain UTF-8 for
// messages and bytes of 0x80 and above, which the INI rules never look into.
// Encoding the text again gives back the file's bytes exactly, and ASCII
// written into the text comes out as 16-bit units.

#include <string>

enum class TextEncoding { Bytes, Utf16LE, Utf16BE };

struct DecodedText {
    TextEncoding encoding = TextEncoding::Bytes;
    std::string text;  // what the INI layer reads and writes
    std::string tail;  // a last odd byte of a UTF-16 file, kept as it was
};

DecodedText DecodeText(const std::string& fileBytes);
// The file's bytes for `text` in the decoded file's encoding, its mark first.
std::string EncodeText(const DecodedText& decoded);

// Appends the UTF-8 form of a code point (a lone surrogate too, as the
// three bytes it would take).
void AppendUtf8(std::string& out, char32_t code);
