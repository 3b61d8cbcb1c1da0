// SPDX-License-Identifier: GPL-3.0-or-later
#include "voice/pronunciation.h"

#include "common/codepage.h"
#include "common/files.h"
#include "common/strings.h"
#include "common/unicode.h"
#include "engine/settings.h"

#include <array>
#include <filesystem>

namespace vb {

std::vector<SoundSource> SourceOrder(int rgVoice, int posDir, int posLib, int posSynt)
{
    switch (rgVoice) {
    case 0:
        return {SoundSource::Folder};
    case 1:
        return {SoundSource::Library};
    case 2:
        return {SoundSource::Synthesis};
    case 3:
        break;
    default:
        return {};
    }
    // After a failed source comes the one with the next higher number; an equal number comes next when it
    // stands later in the order folder, library, synthesis. That is the order of (number, place).
    const std::array<std::pair<int, SoundSource>, 3> sources{
        {{posDir, SoundSource::Folder}, {posLib, SoundSource::Library}, {posSynt, SoundSource::Synthesis}}};
    std::vector<SoundSource> order;
    for (int priority = 1; priority <= 3; ++priority) {
        for (const auto& [number, source] : sources) {
            if (number == priority) {
                order.push_back(source);
            }
        }
    }
    return order;
}

std::vector<SoundSource> SourceOrder(const SettingsWindowValues& values)
{
    return SourceOrder(values.RG_Voice, values.SE_PosDir, values.SE_PosLib, values.SE_PosSynt);
}

std::string SoundName(std::string_view text)
{
    return ReplaceChar(CleanPunctuation(StripParens(text)), ' ', '_');
}

std::string PackSoundName(std::string_view text)
{
    // The pack's names are 1251 bytes: a name it cannot hold matches none.
    const std::string sound = SoundName(text);
    if (!FitsCp1251(sound)) {
        return {};
    }
    std::string name = Utf8ToCp1251Exact(sound) + ".WAV";
    for (char& c : name) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return name;
}

std::string FolderWithoutTrailingSeparator(std::string folder)
{
    if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) {
        folder.pop_back();
    }
    return folder;
}

Pronouncer::Pronouncer(SoundPlayer& player, SpeechEngine& speech, std::string scratchWav)
    : m_player(player), m_speech(speech), m_scratchWav(std::move(scratchWav))
{ }

void Pronouncer::Pronounce(const SettingsWindowValues& values, std::string_view text, bool isWord)
{
    if (!values.CB_Voice || text.empty()) {
        return;
    }
    for (const SoundSource source : SourceOrder(values)) {
        switch (source) {
        case SoundSource::Folder:
            if (PlayFromFolder(values, text, isWord)) {
                return;
            }
            break;
        case SoundSource::Library:
            if (PlayFromLibrary(values, text, isWord)) {
                return;
            }
            break;
        case SoundSource::Synthesis:
            // Speech cannot tell whether it was heard: it ends the search either way.
            SpeakText(values, text, isWord);
            return;
        }
    }
}

bool Pronouncer::PlayFromFolder(const SettingsWindowValues& values, std::string_view text, bool isWord)
{
    const std::string folder = FolderWithoutTrailingSeparator(isWord ? values.ED_DirWAVWord : values.ED_DirWAVTransl);
    if (folder.empty()) {
        return false;
    }
    const std::string name = SoundName(text);
    if (!name.empty()) {
        const std::string path = m_files.Find(folder, name + ".wav");
        if (!path.empty() && FileExists(path)) {
            m_player.Play(path);
            return true;
        }
    }
    return PlayFromPack(folder, PackSoundName(text));
}

bool Pronouncer::PlayFromLibrary(const SettingsWindowValues& values, std::string_view text, bool isWord)
{
    const LibraryIndex& index = isWord ? m_wordIndex : m_translIndex;
    const std::string& dicPath = isWord ? values.ED_LibWAVWord : values.ED_LibWAVTransl;
    for (const std::size_t i : index.Find(LibraryKey(text))) {
        const std::string path = FindLibraryFile(LibraryWavPath(dicPath, index.Entries()[i]));
        if (!path.empty()) {
            m_player.Play(path);
            return true;
        }
    }
    return false;
}

std::string Pronouncer::FindLibraryFile(const std::string& path)
{
    if (path.empty() || FileExists(path)) {
        return path;
    }
    // <library>/DICnnn/DICmmmm.wav: the two last components may differ in case from the index.
    const std::string dicFolder = ParentDir(path, 1);
    const std::string folder = m_files.Find(ParentDir(dicFolder, 1), FileNameOnly(dicFolder, true));
    if (folder.empty()) {
        return {};
    }
    const std::string file = m_files.Find(folder, FileNameOnly(path, true));
    return !file.empty() && FileExists(file) ? file : std::string();
}

bool Pronouncer::PlayFromPack(const std::string& folder, std::string_view name)
{
    std::string pack = m_files.Find(folder, "sound.pak");
    if (pack.empty()) {
        pack = folder + kPathSeparator + "sound.pak";
    }
    std::string sound;
    if (name.empty() || !ReadPackSound(pack, name, sound)) {
        return false;
    }
    // The scratch file is replaced, never written through: a link planted in its place is removed rather
    // than followed, and a read-only copy is replaced like any other.
    std::error_code ec;
    if (std::filesystem::is_symlink(m_scratchWav, ec)) {
        std::filesystem::remove(m_scratchWav, ec);
    }
    SetAttributesNormal(m_scratchWav);
    if (!WriteFileAtomic(m_scratchWav, sound)) {
        // Nothing can be heard, so the next source gets its turn.
        return false;
    }
    m_player.Play(m_scratchWav);
    return true;
}

void Pronouncer::SpeakText(const SettingsWindowValues& values, std::string_view text, bool isWord)
{
    const std::string& voice = isWord ? values.CBx_SyntWord : values.CBx_SyntTransl;
    if (voice.empty() || !m_speech.HasVoice(isWord)) {
        return;
    }
    const std::string spoken = StripParens(text);
    if (spoken.empty()) {
        return;
    }
    m_speech.Speak(isWord, spoken);
}

void Pronouncer::LoadLibraryIndexes(const SettingsWindowValues& values)
{
    // The folders may have changed as well.
    m_files.Clear();
    m_wordIndex.Load(values.ED_LibWAVWord);
    m_translIndex.Load(values.ED_LibWAVTransl);
}

} // namespace vb
