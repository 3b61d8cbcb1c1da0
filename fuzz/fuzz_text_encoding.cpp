// SPDX-License-Identifier: GPL-3.0-or-later
// Text files of the text page on arbitrary bytes: detection, opening and saving. Saving what was opened
// and opening the result gives the text shown after the save, and a second save writes the same bytes.
#include "text/text_encoding.h"

#include "common/codepage.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const vb::TextFileFormat format = vb::DetectTextEncoding(bytes);
    const std::string text = vb::DecodeTextFile(bytes, format);
    if (!vb::IsValidUtf8(text) || text.find('\r') != std::string::npos)
        std::abort();

    const vb::EncodedText saved = vb::EncodeTextFile(text, format);
    if (vb::DecodeTextFile(saved.bytes, format) != saved.shown)
        std::abort();
    if (vb::EncodeTextFile(saved.shown, format).bytes != saved.bytes)
        std::abort();
    // A UTF-8 text comes back as it was and is recognised again.
    if (format.encoding == vb::TextEncoding::Utf8 &&
        (saved.shown != text || !(vb::DetectTextEncoding(saved.bytes) == format)))
        std::abort();

    if (vb::TextCharacterCount(text) < 0)
        std::abort();
    // The builder counts UTF-8 whatever the file's encoding; a UTF-8 file as it is, less its mark.
    const std::string counted = vb::FileTextForCounting(std::string(bytes));
    if (!vb::IsValidUtf8(counted))
        std::abort();
    if (format.encoding == vb::TextEncoding::Utf8 && counted != bytes.substr(format.bom ? 3 : 0))
        std::abort();
    (void)vb::TextForCounting(text);
    return 0;
}
