// SPDX-License-Identifier: GPL-3.0-or-later
// The DICT data on any bytes: inflated (gzip or dictzip) within a bound, then every article of a few sizes
// parsed.
#include "convert/dict_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string text;
    std::string error;
    if (!vb::InflateDictData(bytes, text, error, 1 << 20)) {
        if (!text.empty()) {
            std::abort();
        }
        return 0;
    }
    for (std::size_t step : {std::size_t{7}, std::size_t{64}, text.size()}) {
        for (std::size_t pos = 0; pos < text.size() && step > 0; pos += step) {
            const std::string_view article = std::string_view(text).substr(pos, step);
            const vb::VocabEntry e =
                vb::ParseDictArticle(article.substr(0, std::min<std::size_t>(article.size(), 5)), article);
            if (e.translation.find('\n') != std::string::npos) {
                std::abort();
            }
        }
    }
    return 0;
}
