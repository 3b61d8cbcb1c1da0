// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The per-user settings store, shaped after the Windows registry (HKCU): keys are paths below
// HKEY_CURRENT_USER such as "Software\\Verbanta\\Default", compared without regard to letter case (Latin and Cyrillic);
// values are strings or 32-bit integers; the name "" is the key's unnamed value.
//
// Reading never creates keys. Every operation reports failure as a return value; callers swallow it.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

class Registry
{
public:
    virtual ~Registry() = default;

    // True when the key exists ("open without creating").
    virtual bool KeyExists(const std::string& key) = 0;
    // Creates the key and its missing parents; true when it exists afterwards.
    virtual bool CreateKey(const std::string& key) = 0;
    // Deletes the key with all its subkeys and values.
    virtual bool DeleteKey(const std::string& key) = 0;
    // Names of the direct subkeys, in a stable order (case-insensitive alphabetical).
    virtual std::vector<std::string> ListSubkeys(const std::string& key) = 0;

    // nullopt when the key or value is missing or the value has the other type.
    virtual std::optional<std::string> ReadString(const std::string& key, const std::string& name) = 0;
    virtual std::optional<std::int32_t> ReadInt(const std::string& key, const std::string& name) = 0;
    // Writes into an existing key only (as into an opened key); false when the key is missing.
    virtual bool WriteString(const std::string& key, const std::string& name, const std::string& value) = 0;
    virtual bool WriteInt(const std::string& key, const std::string& name, std::int32_t value) = 0;
    virtual bool DeleteValue(const std::string& key, const std::string& name) = 0;

    // Groups many operations into one: a file-backed store then reads, locks and writes its file once.
    // Calls nest; the outermost EndBatch writes. Use one around every load or save of many values: each
    // single change of a file-backed store is a locked, flushed rewrite of the file. While a batch is open,
    // a second file store object on the same file in this process fails its changes instead of waiting.
    // EndBatch is false when the outermost batch's changes could not be written.
    virtual void BeginBatch() { }
    virtual bool EndBatch() { return true; }
};

// Holds a batch open for the life of the object, or until Finish reports whether its changes were written.
class RegistryBatch
{
public:
    explicit RegistryBatch(Registry& r) : m_registry(r) { m_registry.BeginBatch(); }
    ~RegistryBatch() { Finish(); }
    RegistryBatch(const RegistryBatch&) = delete;
    RegistryBatch& operator=(const RegistryBatch&) = delete;

    bool Finish()
    {
        if (m_open) {
            m_open = false;
            m_written = m_registry.EndBatch();
        }
        return m_written;
    }

private:
    Registry& m_registry;
    bool m_open = true;
    bool m_written = true;
};

// A store in memory; used by tests and as a fallback.
std::unique_ptr<Registry> MakeMemoryRegistry();

// A store in memory holding what a ".reg" text reads as: lines that cannot be understood and lines with NUL
// bytes are skipped; bytes that are not UTF-8 are taken as they are. `readWhole`, when given, is false when
// anything was skipped.
std::unique_ptr<Registry> MakeMemoryRegistryFromText(std::string_view regText, bool* readWhole = nullptr);
// The ".reg" text the file store writes for a memory store's contents; empty for any other store.
std::string RegistryText(const Registry& registry);

// The portable store: a text file in the ".reg" format (UTF-8). Every change re-reads the file under an
// exclusive lock, applies itself and replaces the file atomically, so two processes never lose each
// other's writes. Lines that cannot be understood are skipped; before a file that was not read whole is
// first rewritten, the original is kept beside it as "<file>.bak".
std::unique_ptr<Registry> MakeFileRegistry(const std::string& path);

#ifdef _WIN32
// The real HKEY_CURRENT_USER.
std::unique_ptr<Registry> MakeWindowsRegistry();
#endif

// The store the program uses on this platform.
std::unique_ptr<Registry> MakeSystemRegistry(const std::string& portableFilePath);

} // namespace vb
