// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/registry.h"

#include "common/codepage.h"
#include "common/files.h"
#include "common/strings.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <string_view>
#include <type_traits>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace vb {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRootName = "HKEY_CURRENT_USER";
// A settings file is a few kilobytes; anything beyond this is damage, and only its beginning is read.
constexpr std::size_t kMaxFileSize = 16 * 1024 * 1024;

// Key and value names are compared without regard to letter case, Cyrillic included, as Windows does.
// Folding keeps byte lengths, so a folded path has its backslashes where the original has them.
std::string FoldName(std::string_view s)
{
    return LowerCaseUtf8(s);
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    // Value names are ASCII: compare those in place and fold only where other characters differ.
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (ca == cb) {
            continue;
        }
        if (ca >= 0x80 || cb >= 0x80) {
            return FoldName(a) == FoldName(b);
        }
        if (LowerCase1251(ca) != LowerCase1251(cb)) {
            return false;
        }
    }
    return true;
}

// A key path with single backslashes between its components and none at either end. Control characters
// cannot be stored in a section line, so such keys do not exist.
std::optional<std::string> NormalizeKey(std::string_view key)
{
    std::string out;
    std::size_t pos = 0;
    while (pos <= key.size()) {
        const auto next = std::min(key.find('\\', pos), key.size());
        const std::string_view part = key.substr(pos, next - pos);
        for (char c : part) {
            if (static_cast<unsigned char>(c) < 0x20) {
                return std::nullopt;
            }
        }
        if (!part.empty()) {
            if (!out.empty()) {
                out += '\\';
            }
            out += part;
        }
        pos = next + 1;
    }
    return out;
}

struct Value
{
    std::string name;
    bool isNumber = false;
    std::string text;
    std::int32_t number = 0;

    bool SameData(const Value& other) const
    {
        return isNumber == other.isNumber && (isNumber ? number == other.number : text == other.text);
    }
};

struct KeyData
{
    std::string path; // as first spelled
    std::vector<Value> values; // in the order they were first written
};

// The whole hive below HKEY_CURRENT_USER. Keys are indexed by their folded (lower-cased) path, so that a key's
// subtree is one contiguous range of the map.
class RegistryTree
{
public:
    bool KeyExists(std::string_view key) const
    {
        const auto path = NormalizeKey(key);
        return path && (path->empty() || m_keys.count(FoldName(*path)) > 0);
    }

    // Creates the key and its missing parents. Returns false only for a key that cannot exist.
    bool CreateKey(std::string_view key, bool& changed)
    {
        const auto path = NormalizeKey(key);
        if (!path) {
            return false;
        }
        std::size_t pos = 0;
        while (pos < path->size()) {
            const auto next = std::min(path->find('\\', pos), path->size());
            const std::string prefix = path->substr(0, next);
            auto [it, inserted] = m_keys.try_emplace(FoldName(prefix));
            if (inserted) {
                it->second.path = prefix;
                changed = true;
            }
            pos = next + 1;
        }
        return true;
    }

    bool DeleteKey(std::string_view key)
    {
        const auto path = NormalizeKey(key);
        if (!path || path->empty()) {
            return false; // HKEY_CURRENT_USER itself stays
        }
        const std::string lower = FoldName(*path);
        const auto self = m_keys.find(lower);
        if (self == m_keys.end()) {
            return false;
        }
        m_keys.erase(self);
        const std::string prefix = lower + '\\';
        auto it = m_keys.lower_bound(prefix);
        while (it != m_keys.end() && it->first.compare(0, prefix.size(), prefix) == 0) {
            it = m_keys.erase(it);
        }
        return true;
    }

    std::vector<std::string> ListSubkeys(std::string_view key) const
    {
        std::vector<std::string> names;
        const auto path = NormalizeKey(key);
        if (!path || !KeyExists(*path)) {
            return names;
        }
        const std::string prefix = path->empty() ? std::string() : FoldName(*path) + '\\';
        for (auto it = m_keys.lower_bound(prefix); it != m_keys.end(); ++it) {
            if (it->first.compare(0, prefix.size(), prefix) != 0) {
                break;
            }
            if (it->first.size() > prefix.size() && it->first.find('\\', prefix.size()) == std::string::npos) {
                names.push_back(it->second.path.substr(prefix.size()));
            }
        }
        return names;
    }

    const Value* FindValue(std::string_view key, std::string_view name) const
    {
        const KeyData* data = FindKey(key);
        if (!data) {
            return nullptr;
        }
        for (const Value& v : data->values) {
            if (EqualsNoCase(v.name, name)) {
                return &v;
            }
        }
        return nullptr;
    }

    // Writes into an existing key only.
    bool SetValue(std::string_view key, Value value, bool& changed)
    {
        KeyData* data = FindKey(key);
        if (!data) {
            return false;
        }
        for (Value& v : data->values) {
            if (EqualsNoCase(v.name, value.name)) {
                if (!v.SameData(value)) {
                    value.name = v.name; // the first spelling of a name stays
                    v = std::move(value);
                    changed = true;
                }
                return true;
            }
        }
        data->values.push_back(std::move(value));
        changed = true;
        return true;
    }

    bool DeleteValue(std::string_view key, std::string_view name)
    {
        KeyData* data = FindKey(key);
        if (!data) {
            return false;
        }
        const auto it = std::find_if(data->values.begin(), data->values.end(),
                                     [&](const Value& v) { return EqualsNoCase(v.name, name); });
        if (it == data->values.end()) {
            return false;
        }
        data->values.erase(it);
        return true;
    }

    // Takes in what it understands and skips the rest. True when nothing was skipped: every line was
    // understood and none held a NUL. Bytes that are not UTF-8 are taken as they are.
    bool Parse(std::string_view text);
    std::string Serialize() const;

private:
    KeyData* FindKey(std::string_view key)
    {
        const auto path = NormalizeKey(key);
        if (!path) {
            return nullptr;
        }
        if (path->empty()) {
            // HKEY_CURRENT_USER always exists; its entry appears when first needed.
            KeyData& root = m_keys[std::string()];
            return &root;
        }
        const auto it = m_keys.find(FoldName(*path));
        return it == m_keys.end() ? nullptr : &it->second;
    }

    const KeyData* FindKey(std::string_view key) const
    {
        const auto path = NormalizeKey(key);
        if (!path) {
            return nullptr;
        }
        const auto it = m_keys.find(FoldName(*path));
        return it == m_keys.end() ? nullptr : &it->second;
    }

    std::map<std::string, KeyData> m_keys;
};

// --- The .reg text -------------------------------------------------------------------------------

std::string Quote(std::string_view s)
{
    std::string out = "\"";
    for (char c : s) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        // Line breaks and NUL would break the line structure of the file.
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\0':
            out += "\\0";
            break;
        default:
            out += c;
        }
    }
    out += '"';
    return out;
}

// Reads a quoted string starting at `pos` (on the opening quote). On success `pos` is past the closing quote.
std::optional<std::string> Unquote(std::string_view line, std::size_t& pos)
{
    if (pos >= line.size() || line[pos] != '"') {
        return std::nullopt;
    }
    std::string out;
    for (std::size_t i = pos + 1; i < line.size(); ++i) {
        // Plain runs are taken whole: a damaged file may hold a line of many megabytes.
        const auto special = std::min(line.find_first_of("\"\\", i), line.size());
        out.append(line.substr(i, special - i));
        i = special;
        if (i == line.size()) {
            break;
        }
        const char c = line[i];
        if (c == '"') {
            pos = i + 1;
            return out;
        }
        if (++i == line.size()) {
            return std::nullopt;
        }
        switch (line[i]) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case '0':
            out += '\0';
            break;
        default:
            out += line[i];
        }
    }
    return std::nullopt; // the closing quote is missing
}

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

void SkipBlanks(std::string_view line, std::size_t& pos)
{
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) {
        ++pos;
    }
}

std::optional<std::uint32_t> ParseHex32(std::string_view digits)
{
    if (digits.empty() || digits.size() > 8) {
        return std::nullopt;
    }
    std::uint32_t v = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9') {
            d = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            d = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            d = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        v = (v << 4) | static_cast<std::uint32_t>(d);
    }
    return v;
}

// One value line: @="text", "name"="text" or "name"=dword:hhhhhhhh. Anything else is not understood.
std::optional<Value> ParseValueLine(std::string_view line)
{
    Value value;
    std::size_t pos = 0;
    if (line[0] == '@') {
        pos = 1;
    } else {
        auto name = Unquote(line, pos);
        if (!name) {
            return std::nullopt;
        }
        value.name = std::move(*name);
    }
    SkipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != '=') {
        return std::nullopt;
    }
    ++pos;
    SkipBlanks(line, pos);
    if (pos < line.size() && line[pos] == '"') {
        auto text = Unquote(line, pos);
        if (!text || pos != line.size()) {
            return std::nullopt;
        }
        value.text = std::move(*text);
        return value;
    }
    constexpr std::string_view kDword = "dword:";
    if (EqualsNoCase(line.substr(pos, kDword.size()), kDword)) {
        const auto number = ParseHex32(line.substr(pos + kDword.size()));
        if (!number) {
            return std::nullopt;
        }
        value.isNumber = true;
        value.number = static_cast<std::int32_t>(*number);
        return value;
    }
    return std::nullopt;
}

bool RegistryTree::Parse(std::string_view text)
{
    m_keys.clear();
    bool whole = true;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    std::optional<std::string> current; // the section being read; none after a section not understood
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = TrimBlanks(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == ';' || line == kHeader) {
            continue;
        }
        // Every line the store writes ends in a line break: a last line without one was cut short (a value
        // "dword:0000" cut from "dword:00000014" would read as another number).
        if (end == text.size()) {
            whole = false;
            break;
        }
        const bool damaged = line.find('\0') != std::string_view::npos;
        if (line[0] == '[') {
            current.reset();
            const auto close = line.rfind(']');
            if (damaged || close == std::string_view::npos || close + 1 != line.size()) {
                whole = false;
                continue;
            }
            const std::string_view inner = line.substr(1, close - 1);
            if (!EqualsNoCase(inner.substr(0, kRootName.size()), kRootName)) {
                whole = false; // another hive, or a deletion entry "[-...]"
                continue;
            }
            const std::string_view rest = inner.substr(kRootName.size());
            if (!rest.empty() && rest[0] != '\\') {
                whole = false;
                continue;
            }
            bool changed = false;
            const auto key = NormalizeKey(rest);
            if (key && CreateKey(*key, changed)) {
                current = *key;
            } else {
                whole = false;
            }
            continue;
        }
        if (damaged || !current) {
            whole = false;
            continue;
        }
        if (auto value = ParseValueLine(line)) {
            bool changed = false;
            SetValue(*current, std::move(*value), changed);
        } else {
            whole = false;
        }
    }
    return whole;
}

std::string RegistryTree::Serialize() const
{
    std::string out(kHeader);
    out += "\n";
    for (const auto& [lower, data] : m_keys) {
        if (lower.empty() && data.values.empty()) {
            continue;
        }
        out += "\n[";
        out += kRootName;
        if (!data.path.empty()) {
            out += '\\';
            out += data.path;
        }
        out += "]\n";
        for (const Value& v : data.values) {
            out += v.name.empty() ? std::string("@") : Quote(v.name);
            out += '=';
            if (v.isNumber) {
                static const char kDigits[] = "0123456789abcdef";
                const auto n = static_cast<std::uint32_t>(v.number);
                out += "dword:";
                for (int shift = 28; shift >= 0; shift -= 4) {
                    out += kDigits[(n >> shift) & 0xF];
                }
            } else {
                out += Quote(v.text);
            }
            out += '\n';
        }
    }
    return out;
}

Value MakeString(const std::string& name, const std::string& text)
{
    Value v;
    v.name = name;
    v.text = text;
    return v;
}

Value MakeNumber(const std::string& name, std::int32_t number)
{
    Value v;
    v.name = name;
    v.isNumber = true;
    v.number = number;
    return v;
}

// --- In memory -----------------------------------------------------------------------------------

class MemoryRegistry final : public Registry
{
public:
    MemoryRegistry() = default;
    MemoryRegistry(std::string_view text, bool* readWhole)
    {
        const bool whole = m_tree.Parse(text);
        if (readWhole) {
            *readWhole = whole;
        }
    }
    std::string Text() const { return m_tree.Serialize(); }

    bool KeyExists(const std::string& key) override { return m_tree.KeyExists(key); }
    bool CreateKey(const std::string& key) override
    {
        bool changed = false;
        return m_tree.CreateKey(key, changed);
    }
    bool DeleteKey(const std::string& key) override { return m_tree.DeleteKey(key); }
    std::vector<std::string> ListSubkeys(const std::string& key) override { return m_tree.ListSubkeys(key); }

    std::optional<std::string> ReadString(const std::string& key, const std::string& name) override
    {
        const Value* v = m_tree.FindValue(key, name);
        return v && !v->isNumber ? std::optional<std::string>(v->text) : std::nullopt;
    }
    std::optional<std::int32_t> ReadInt(const std::string& key, const std::string& name) override
    {
        const Value* v = m_tree.FindValue(key, name);
        return v && v->isNumber ? std::optional<std::int32_t>(v->number) : std::nullopt;
    }
    bool WriteString(const std::string& key, const std::string& name, const std::string& value) override
    {
        bool changed = false;
        return m_tree.SetValue(key, MakeString(name, value), changed);
    }
    bool WriteInt(const std::string& key, const std::string& name, std::int32_t value) override
    {
        bool changed = false;
        return m_tree.SetValue(key, MakeNumber(name, value), changed);
    }
    bool DeleteValue(const std::string& key, const std::string& name) override { return m_tree.DeleteValue(key, name); }

private:
    RegistryTree m_tree;
};

// --- In a file -----------------------------------------------------------------------------------

// The exclusive lock on the file beside the store. The kernel drops it if the process dies. One process
// never waits for itself: a second store object on the same file, while the first holds the lock in a
// batch, gets a failure instead of a deadlock.
class StoreLock
{
public:
    explicit StoreLock(std::string path) : m_path(std::move(path)) { }
    ~StoreLock() { Unlock(); }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    bool Lock()
    {
        {
            std::lock_guard<std::mutex> guard(HeldMutex());
            if (!HeldPaths().insert(m_path).second) {
                return false;
            }
        }
        if (!LockFile()) {
            std::lock_guard<std::mutex> guard(HeldMutex());
            HeldPaths().erase(m_path);
            return false;
        }
        m_locked = true;
        return true;
    }

    void Unlock()
    {
        if (!m_locked) {
            return;
        }
        UnlockFile();
        m_locked = false;
        std::lock_guard<std::mutex> guard(HeldMutex());
        HeldPaths().erase(m_path);
    }

private:
    static std::mutex& HeldMutex()
    {
        static std::mutex m;
        return m;
    }
    static std::set<std::string>& HeldPaths()
    {
        static std::set<std::string> s;
        return s;
    }

#ifdef _WIN32
    bool LockFile()
    {
        HANDLE h =
            CreateFileW(Utf8ToWide(m_path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            return false;
        }
        OVERLAPPED ov{};
        if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &ov)) {
            CloseHandle(h);
            return false;
        }
        m_handle = h;
        return true;
    }
    void UnlockFile()
    {
        OVERLAPPED ov{};
        UnlockFileEx(m_handle, 0, 1, 0, &ov);
        CloseHandle(m_handle);
        m_handle = nullptr;
    }
    HANDLE m_handle = nullptr;
#else
    bool LockFile()
    {
        const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) {
            return false;
        }
        int rc;
        do {
            rc = ::flock(fd, LOCK_EX);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            ::close(fd);
            return false;
        }
        m_fd = fd;
        return true;
    }
    void UnlockFile()
    {
        // Closing the descriptor releases the lock.
        ::close(m_fd);
        m_fd = -1;
    }
    int m_fd = -1;
#endif

    std::string m_path;
    bool m_locked = false;
};

class FileRegistry final : public Registry
{
public:
    explicit FileRegistry(std::string path) : m_path(std::move(path)), m_lock(m_path + ".lock") { }
    ~FileRegistry() override
    {
        if (m_batchDepth > 0) {
            m_batchDepth = 1;
            EndBatch();
        }
    }

    bool KeyExists(const std::string& key) override
    {
        return Read([&](const RegistryTree& t) { return t.KeyExists(key); });
    }

    bool CreateKey(const std::string& key) override
    {
        return Modify([&](RegistryTree& t, bool& changed) { return t.CreateKey(key, changed); });
    }

    bool DeleteKey(const std::string& key) override
    {
        return Modify([&](RegistryTree& t, bool& changed) { return changed = t.DeleteKey(key); });
    }

    std::vector<std::string> ListSubkeys(const std::string& key) override
    {
        return Read([&](const RegistryTree& t) { return t.ListSubkeys(key); });
    }

    std::optional<std::string> ReadString(const std::string& key, const std::string& name) override
    {
        return Read([&](const RegistryTree& t) {
            const Value* v = t.FindValue(key, name);
            return v && !v->isNumber ? std::optional<std::string>(v->text) : std::nullopt;
        });
    }

    std::optional<std::int32_t> ReadInt(const std::string& key, const std::string& name) override
    {
        return Read([&](const RegistryTree& t) {
            const Value* v = t.FindValue(key, name);
            return v && v->isNumber ? std::optional<std::int32_t>(v->number) : std::nullopt;
        });
    }

    bool WriteString(const std::string& key, const std::string& name, const std::string& value) override
    {
        return Modify(
            [&](RegistryTree& t, bool& changed) { return t.SetValue(key, MakeString(name, value), changed); });
    }

    bool WriteInt(const std::string& key, const std::string& name, std::int32_t value) override
    {
        return Modify(
            [&](RegistryTree& t, bool& changed) { return t.SetValue(key, MakeNumber(name, value), changed); });
    }

    bool DeleteValue(const std::string& key, const std::string& name) override
    {
        return Modify([&](RegistryTree& t, bool& changed) { return changed = t.DeleteValue(key, name); });
    }

    void BeginBatch() override
    {
        if (m_batchDepth++ > 0) {
            return;
        }
        m_batchLocked = LockForWriting();
        m_batchTree = Load(&m_batchWhole);
        m_batchDirty = false;
    }

    bool EndBatch() override
    {
        if (m_batchDepth == 0 || --m_batchDepth > 0) {
            return true;
        }
        bool written = !m_batchDirty;
        if (m_batchLocked) {
            if (m_batchDirty) {
                written = Save(m_batchTree, m_batchWhole);
            }
            m_lock.Unlock();
        }
        m_batchLocked = false;
        m_batchTree = RegistryTree();
        return written;
    }

private:
    // The store as the file holds it now. `whole` is false when some of the file could not be taken in
    // (damaged lines, NUL bytes, too long): a rewrite would then lose what was skipped.
    RegistryTree Load(bool* whole = nullptr) const
    {
        RegistryTree tree;
        if (whole) {
            *whole = true;
        }
        std::ifstream in(m_path, std::ios::binary);
        if (!in) {
            return tree;
        }
        in.seekg(0, std::ios::end);
        const std::streamoff size = in.tellg();
        in.seekg(0, std::ios::beg);
        if (size <= 0 || !in) {
            return tree;
        }
        std::string text(std::min(static_cast<std::size_t>(size), kMaxFileSize), '\0');
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(in.gcount()));
        const bool parsedWhole = tree.Parse(text);
        if (whole) {
            *whole = parsedWhole && static_cast<std::size_t>(size) <= kMaxFileSize;
        }
        return tree;
    }

    // Before a file that was not read whole is first replaced, the original is kept beside it as
    // "<file>.bak", so that nothing the pupil had is lost for good. Without that copy nothing is written.
    bool Save(const RegistryTree& tree, bool readWhole) const
    {
        if (!readWhole && FileExists(m_path) && !CopyFileOverwrite(m_path, m_path + ".bak")) {
            return false;
        }
        return WriteFileAtomic(m_path, tree.Serialize());
    }

    bool LockForWriting()
    {
        const std::string folder = ParentDir(m_path);
        if (folder != m_path && !folder.empty() && !DirectoryExists(folder)) {
            MakeDirectories(folder);
        }
        return m_lock.Lock();
    }

    template <typename F>
    std::invoke_result_t<F, const RegistryTree&> Read(F&& f)
    {
        if (m_batchDepth > 0) {
            return f(static_cast<const RegistryTree&>(m_batchTree));
        }
        // The file is only ever replaced whole, so reading it without the lock sees one consistent version.
        const RegistryTree tree = Load();
        return f(tree);
    }

    template <typename F>
    bool Modify(F&& f)
    {
        bool changed = false;
        if (m_batchDepth > 0) {
            if (!m_batchLocked) {
                return false;
            }
            const bool ok = f(m_batchTree, changed);
            m_batchDirty = m_batchDirty || changed;
            return ok;
        }
        if (!LockForWriting()) {
            return false;
        }
        bool whole = true;
        RegistryTree tree = Load(&whole);
        bool ok = f(tree, changed);
        if (ok && changed) {
            ok = Save(tree, whole);
        }
        m_lock.Unlock();
        return ok;
    }

    std::string m_path;
    StoreLock m_lock;
    int m_batchDepth = 0;
    bool m_batchLocked = false;
    bool m_batchDirty = false;
    bool m_batchWhole = true;
    RegistryTree m_batchTree;
};

// --- The real HKEY_CURRENT_USER --------------------------------------------------------------------

#ifdef _WIN32

std::wstring Widen(const std::string& s)
{
    if (s.empty()) {
        return std::wstring();
    }
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    if (n <= 0) {
        return std::wstring();
    }
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

std::string Narrow(const wchar_t* s, std::size_t length)
{
    if (length == 0) {
        return std::string();
    }
    const int n = WideCharToMultiByte(CP_UTF8, 0, s, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (n <= 0) {
        return std::string();
    }
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s, static_cast<int>(length), out.data(), n, nullptr, nullptr);
    return out;
}

class OpenKey
{
public:
    OpenKey(const std::string& key, REGSAM access)
    {
        if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(key).c_str(), 0, access, &m_key) != ERROR_SUCCESS) {
            m_key = nullptr;
        }
    }
    ~OpenKey()
    {
        if (m_key) {
            RegCloseKey(m_key);
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    explicit operator bool() const { return m_key != nullptr; }
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

class WindowsRegistry final : public Registry
{
public:
    bool KeyExists(const std::string& key) override { return static_cast<bool>(OpenKey(key, KEY_READ)); }

    bool CreateKey(const std::string& key) override
    {
        HKEY h = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, Widen(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) !=
            ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(h);
        return true;
    }

    bool DeleteKey(const std::string& key) override
    {
        const auto path = NormalizeKey(key);
        if (!path || path->empty()) {
            return false;
        }
        // With a subkey name, RegDeleteTree removes that key itself as well as everything below it.
        return RegDeleteTreeW(HKEY_CURRENT_USER, Widen(*path).c_str()) == ERROR_SUCCESS;
    }

    std::vector<std::string> ListSubkeys(const std::string& key) override
    {
        std::vector<std::string> names;
        OpenKey k(key, KEY_READ);
        if (!k) {
            return names;
        }
        for (DWORD i = 0;; ++i) {
            wchar_t name[256]; // the longest key name is 255 characters
            DWORD length = 256;
            const LONG rc = RegEnumKeyExW(k.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_NO_MORE_ITEMS) {
                break;
            }
            if (rc == ERROR_SUCCESS) {
                names.push_back(Narrow(name, length));
            }
        }
        std::sort(names.begin(), names.end(),
                  [](const std::string& a, const std::string& b) { return FoldName(a) < FoldName(b); });
        return names;
    }

    std::optional<std::string> ReadString(const std::string& key, const std::string& name) override
    {
        OpenKey k(key, KEY_QUERY_VALUE);
        if (!k) {
            return std::nullopt;
        }
        const std::wstring wname = Widen(name);
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(k.get(), wname.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ)) {
            return std::nullopt;
        }
        std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        if (RegQueryValueExW(k.get(), wname.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
                ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ)) {
            return std::nullopt;
        }
        std::size_t length = std::min<std::size_t>(bytes / sizeof(wchar_t), buffer.size());
        while (length > 0 && buffer[length - 1] == L'\0') {
            --length;
        }
        return Narrow(buffer.data(), length);
    }

    std::optional<std::int32_t> ReadInt(const std::string& key, const std::string& name) override
    {
        OpenKey k(key, KEY_QUERY_VALUE);
        if (!k) {
            return std::nullopt;
        }
        DWORD type = 0;
        DWORD data = 0;
        DWORD size = sizeof data;
        if (RegQueryValueExW(k.get(), Widen(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
                ERROR_SUCCESS ||
            type != REG_DWORD || size != sizeof data) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(data);
    }

    bool WriteString(const std::string& key, const std::string& name, const std::string& value) override
    {
        OpenKey k(key, KEY_SET_VALUE);
        if (!k) {
            return false;
        }
        const std::wstring data = Widen(value);
        const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
        return RegSetValueExW(k.get(), Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                              bytes) == ERROR_SUCCESS;
    }

    bool WriteInt(const std::string& key, const std::string& name, std::int32_t value) override
    {
        OpenKey k(key, KEY_SET_VALUE);
        if (!k) {
            return false;
        }
        const auto data = static_cast<DWORD>(value);
        return RegSetValueExW(k.get(), Widen(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                              sizeof data) == ERROR_SUCCESS;
    }

    bool DeleteValue(const std::string& key, const std::string& name) override
    {
        OpenKey k(key, KEY_SET_VALUE);
        return k && RegDeleteValueW(k.get(), Widen(name).c_str()) == ERROR_SUCCESS;
    }
};

#endif

} // namespace

std::unique_ptr<Registry> MakeMemoryRegistry()
{
    return std::make_unique<MemoryRegistry>();
}

std::unique_ptr<Registry> MakeMemoryRegistryFromText(std::string_view regText, bool* readWhole)
{
    return std::make_unique<MemoryRegistry>(regText, readWhole);
}

std::string RegistryText(const Registry& registry)
{
    const auto* memory = dynamic_cast<const MemoryRegistry*>(&registry);
    return memory ? memory->Text() : std::string();
}

std::unique_ptr<Registry> MakeFileRegistry(const std::string& path)
{
    return std::make_unique<FileRegistry>(path);
}

#ifdef _WIN32
std::unique_ptr<Registry> MakeWindowsRegistry()
{
    return std::make_unique<WindowsRegistry>();
}
#endif

std::unique_ptr<Registry> MakeSystemRegistry(const std::string& portableFilePath)
{
#ifdef _WIN32
    (void)portableFilePath;
    return MakeWindowsRegistry();
#else
    return MakeFileRegistry(portableFilePath);
#endif
}

} // namespace vb
