// SPDX-License-Identifier: GPL-3.0-or-later
// Writing in German, French and Spanish: letter case, the hint line and its positions count characters.

#include "writing/writing.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

TEST(WritingOtherLanguages, CaseInsensitiveTypingAcceptsEveryAlphabet)
{
    EXPECT_TRUE(CompareTyped("MÄDCHEN", "Mädchen", false));
    EXPECT_FALSE(CompareTyped("MÄDCHEN", "Mädchen", true));
    EXPECT_TRUE(CompareTyped("GARÇON", "garçon", false));
    EXPECT_TRUE(CompareTyped("CANCIÓN", "canción", false));
    EXPECT_FALSE(CompareTyped("MADCHEN", "Mädchen", false));
}

TEST(WritingOtherLanguages, HintLineMasksAndRevealsByCharacters)
{
    WritingOptions options;
    options.CB_Len = true;
    EnterHintState state;
    // "ä" is a letter: masked like any other.
    EnterHint hint = ComputeEnterHint(state, "Mädchen", "", options);
    EXPECT_EQ(hint.line, "+++++++");
    hint = ComputeEnterHint(state, "Mädchen", "MÄD", options);
    EXPECT_TRUE(hint.correctPrefix);

    // A wrong letter after "Mä" reveals two characters, not two bytes.
    options.CB_Letter = true;
    EnterHintState letters;
    hint = ComputeEnterHint(letters, "Mädchen ist", "Mäx", options);
    EXPECT_FALSE(hint.correctPrefix);
    EXPECT_EQ(hint.line, "Mäd++++ +++");

    // The word hint reveals up to the next space, counted in characters.
    options.CB_Letter = false;
    options.CB_Word = true;
    EnterHintState words;
    hint = ComputeEnterHint(words, "¿Qué tal?", "¿Qx", options);
    EXPECT_EQ(hint.line, "¿Qué +++?");
    EXPECT_EQ(words.RevealedLength, 4);
}

} // namespace
} // namespace vb
