// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Pronouncing a word or a translation: the scheme and priorities that choose the sound source, the
// file-name form of a text, and Pronounce itself over the three sources (a folder of WAV files with its
// sound.pak, the Platinum 2002 library, speech synthesis).
//
// Texts and paths are UTF-8.

#include "voice/case_insensitive_files.h"
#include "voice/sound_library.h"
#include "voice/sound_output.h"

#include <string>
#include <string_view>
#include <vector>

namespace vb {

struct SettingsWindowValues;

enum class SoundSource {
    Folder, // "каталог"
    Library, // "библиотека"
    Synthesis, // "синтез речи"
};

// The sources in the order they are tried for the scheme RG_Voice and the priorities SE_PosDir,
// SE_PosLib, SE_PosSynt. Schemes 0 to 2 name one source. Scheme 3 orders the sources by their priority
// number (1 starts, 3 ends); equal numbers keep the order folder, library, synthesis; 0 switches a source
// off. Any other scheme tries nothing.
std::vector<SoundSource> SourceOrder(int rgVoice, int posDir, int posLib, int posSynt);
std::vector<SoundSource> SourceOrder(const SettingsWindowValues& values);

// The file-name form of a text: without its parenthesised parts and punctuation, spaces as "_"
// ("good morning!" gives "good_morning").
std::string SoundName(std::string_view text);

// The name looked up in a folder's sound.pak: SoundName upper-cased in ASCII only, with ".WAV".
std::string PackSoundName(std::string_view text);

// A folder as typed, without one trailing separator ("/" or "\"), so "dir/" and "dir" are one folder.
std::string FolderWithoutTrailingSeparator(std::string folder);

// Pronounce and its sources. It holds the library indexes; the settings are passed in with every call,
// as they live in the settings window's controls.
class Pronouncer
{
public:
    // `scratchWav`: the data folder's tmp.wav, through which a sound from a pack is played.
    Pronouncer(SoundPlayer& player, SpeechEngine& speech, std::string scratchWav);

    // Nothing when "Включить схему озвучивания" is off or the text is empty; otherwise the sources in
    // SourceOrder until one plays. Synthesis ends the search whether or not it could speak.
    void Pronounce(const SettingsWindowValues& values, std::string_view text, bool isWord);

    // The folder source: <folder>/<SoundName>.wav, else the same name in the folder's sound.pak. A file
    // name that is not there as written is looked up without regard to letter case.
    bool PlayFromFolder(const SettingsWindowValues& values, std::string_view text, bool isWord);
    // The library source; its DICnnn folders and files are found without regard to letter case too.
    bool PlayFromLibrary(const SettingsWindowValues& values, std::string_view text, bool isWord);
    // A sound of <folder>/sound.pak, played through tmp.wav.
    bool PlayFromPack(const std::string& folder, std::string_view name);
    // The synthesis source: the side's voice speaks the text without its parenthesised parts.
    void SpeakText(const SettingsWindowValues& values, std::string_view text, bool isWord);

    // Both indexes from the dic.txt paths of the settings (at start-up and whenever the settings window
    // closes).
    void LoadLibraryIndexes(const SettingsWindowValues& values);
    const LibraryIndex& WordIndex() const { return m_wordIndex; }
    const LibraryIndex& TranslIndex() const { return m_translIndex; }

private:
    // The library file as written, else its folder and name matched ignoring case; empty when absent.
    std::string FindLibraryFile(const std::string& path);

    SoundPlayer& m_player;
    SpeechEngine& m_speech;
    std::string m_scratchWav;
    LibraryIndex m_wordIndex;
    LibraryIndex m_translIndex;
    CaseInsensitiveFiles m_files;
};

} // namespace vb
