// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_encoding.h"

#include "common/codepage.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

// "Привет, мир" in the two Russian code pages and in UTF-8.
const std::string kDos = "\x8F\xE0\xA8\xA2\xA5\xE2, \xAC\xA8\xE0";
const std::string kWin = "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0";
const std::string kUtf8 = "Привет, мир";

TEST(TextEncoding, DosTextOpensReadableAndSavesBackByteForByte)
{
    const std::string file = kDos + "\r\n" + kDos + "\r\n";
    const TextFileFormat format = DetectTextEncoding(file);
    EXPECT_EQ(format, (TextFileFormat{TextEncoding::Oem, false}));
    const std::string text = DecodeTextFile(file, format);
    EXPECT_EQ(text, kUtf8 + "\n" + kUtf8 + "\n");
    EXPECT_EQ(EncodeTextFile(text, format).bytes, file);
}

TEST(TextEncoding, WindowsTextIsAnsiWhenItsLettersOutnumber)
{
    EXPECT_EQ(DetectTextEncoding(kWin).encoding, TextEncoding::Ansi);
    EXPECT_EQ(DecodeTextFile(kWin, {TextEncoding::Ansi, false}), kUtf8);
    // Only the first 4096 bytes count.
    EXPECT_EQ(GuessAnsiOrOem(std::string(4096, ' ') + kWin), TextEncoding::Oem);
}

TEST(TextEncoding, EnglishWithTypographicQuotesCountsAsDos)
{
    // “quoted” in 1251 has no Cyrillic letters: a tie, so DOS, and 93/94 read as the DOS letters У and Ф.
    const std::string file = "\x93quoted\x94";
    const TextFileFormat format = DetectTextEncoding(file);
    EXPECT_EQ(format.encoding, TextEncoding::Oem);
    EXPECT_EQ(DecodeTextFile(file, format), "УquotedФ");
    // Characters DOS lacks become "?" in the file and in the text shown after saving.
    const EncodedText saved = EncodeTextFile("a\xE2\x80\x94z", format);
    EXPECT_EQ(saved.bytes, "a?z");
    EXPECT_EQ(saved.shown, "a?z");
}

TEST(TextEncoding, Utf8IsRecognisedFirstAndKeepsItsMark)
{
    for (const bool bom : {false, true}) {
        const std::string file = (bom ? "\xEF\xBB\xBF" : "") + kUtf8 + "\r\nok";
        const TextFileFormat format = DetectTextEncoding(file);
        EXPECT_EQ(format, (TextFileFormat{TextEncoding::Utf8, bom}));
        EXPECT_EQ(DecodeTextFile(file, format), kUtf8 + "\nok");
        EXPECT_EQ(EncodeTextFile(kUtf8 + "\nok", format).bytes, file);
    }
    // A mark alone is UTF-8; plain ASCII and invalid sequences are not.
    EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBF").encoding, TextEncoding::Utf8);
    EXPECT_EQ(DetectTextEncoding("plain").encoding, TextEncoding::Oem);
    EXPECT_EQ(DetectTextEncoding(kWin + "\xD0").encoding, TextEncoding::Ansi);
}

TEST(TextEncoding, LineEndsOfAnyKindOpenAsLinesAndSaveAsCrLf)
{
    const TextFileFormat ansi{TextEncoding::Ansi, false};
    const std::string text = DecodeTextFile("a\nb\rc\r\n\nd", ansi);
    EXPECT_EQ(text, "a\nb\nc\n\nd");
    EXPECT_EQ(EncodeTextFile(text, ansi).bytes, "a\r\nb\r\nc\r\n\r\nd");
}

TEST(TextEncoding, CharacterCountTakesLineBreaksAsTwo)
{
    EXPECT_EQ(TextCharacterCount(""), 0);
    EXPECT_EQ(TextCharacterCount("ab\ncd"), 6);
    EXPECT_EQ(TextCharacterCount(kUtf8 + "\n"), 13);
}

TEST(TextEncoding, CommandLineTextIsUtf8OrGuessedAsThePageDoes)
{
    EXPECT_EQ(FileTextForCounting(kWin), kUtf8);
    // A DOS text is counted in its letters, as the text page reads it.
    EXPECT_EQ(FileTextForCounting(kDos + "\r\n" + kDos), kUtf8 + "\r\n" + kUtf8);
    EXPECT_EQ(FileTextForCounting("plain ascii"), "plain ascii");
    // UTF-8 stays as it is, without its mark.
    EXPECT_EQ(FileTextForCounting("\xEF\xBB\xBF" + kUtf8 + " x\xE2\x99\xA5y"), kUtf8 + " x\xE2\x99\xA5y");
    EXPECT_EQ(TextForCounting(kUtf8 + "\nz"), kUtf8 + "\r\nz");
}

} // namespace
} // namespace vb
