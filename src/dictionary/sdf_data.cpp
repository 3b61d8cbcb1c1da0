// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary/sdf_data.h"

#include "common/codepage.h"
#include "common/files.h"
#include "common/strings.h"
#include "common/unicode.h"
#include "dictionary/line_format.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace vb {

namespace {

constexpr const char* kNotEditing = "Dataset not in edit or insert mode";
constexpr const char* kNotOpen = "Cannot perform this operation on a closed dataset";
constexpr const char* kReadOnly = "Cannot modify a read-only dataset";
constexpr const char* kWhileOpen = "Cannot perform this operation on an open dataset";

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Calls `f(offset, length)` for every line: CR LF, CR and LF end a line, the last one needs no end.
template <class F>
void ForEachLine(std::string_view text, F f)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && !IsLineEnd(text[end])) {
            ++end;
        }
        f(pos, end - pos);
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') {
            ++end;
        }
        pos = end + 1;
    }
}

std::string TrimRightSpaces(std::string value)
{
    while (!value.empty() && value.back() == ' ') {
        value.pop_back();
    }
    return value;
}

bool EqualNames(std::string_view a, std::string_view b)
{
    return EqualIgnoringCase(a, b);
}

// Field widths count characters.
std::string_view TakeChars(std::string_view s, std::size_t count)
{
    return s.substr(0, CharOffset(s, count));
}

void PadChars(std::string& s, std::size_t width)
{
    const std::size_t cut = CharOffset(s, width);
    s.resize(cut);
    const std::size_t chars = CharCount(s);
    if (chars < width) {
        s.append(width - chars, ' ');
    }
}

// Locate's comparison of one field.
bool Matches(std::string_view field, std::string_view search, LocateOptions options)
{
    if (options.partialKey) {
        // The field's first characters, as many as the search has.
        const std::size_t chars = CharCount(search);
        const std::size_t end = CharOffset(field, chars);
        if (CharCount(field.substr(0, end)) < chars) {
            return false;
        }
        field = field.substr(0, end);
    }
    return options.caseInsensitive ? EqualIgnoringCase(field, search) : field == search;
}

} // namespace

TFixedFormatDataSet::TFixedFormatDataSet() = default;
TFixedFormatDataSet::~TFixedFormatDataSet() = default;

bool TFixedFormatDataSet::Fail(std::string message)
{
    m_error = std::move(message);
    return false;
}

void TFixedFormatDataSet::Fire(const std::function<void()>& event)
{
    if (event) {
        event();
    }
}

void TFixedFormatDataSet::Notify(TableChange::Kind kind, int row) const
{
    if (events.OnTableChange) {
        events.OnTableChange(TableChange{kind, row});
    }
}

// ---------------------------------------------------------------------------------------------------
// Properties

bool TFixedFormatDataSet::SetFileName(const std::string& fileName)
{
    if (Active()) {
        return Fail(kWhileOpen);
    }
    m_fileName = fileName;
    return true;
}

bool TFixedFormatDataSet::SetFileMustExist(bool mustExist)
{
    if (Active()) {
        return Fail(kWhileOpen);
    }
    m_fileMustExist = mustExist;
    return true;
}

bool TFixedFormatDataSet::SetReadOnly(bool readOnly)
{
    if (Active()) {
        return Fail(kWhileOpen);
    }
    m_readOnly = readOnly;
    return true;
}

bool TFixedFormatDataSet::SetSchema(std::vector<std::string> schema)
{
    if (Active()) {
        return Fail(kWhileOpen);
    }
    m_schema = std::move(schema);
    return true;
}

bool TFixedFormatDataSet::SetTrimSpace(bool trim)
{
    if (Active()) {
        return Fail(kWhileOpen);
    }
    m_trimSpace = trim;
    return true;
}

bool TFixedFormatDataSet::SetFiltered(bool on)
{
    return on ? Fail("Filtering is not supported") : true;
}

bool TFixedFormatDataSet::SaveFileAs(const std::string& /*fileName*/)
{
    return Fail("SaveFileAs is not supported");
}

bool TFixedFormatDataSet::RemoveBlankRecords()
{
    return Fail("RemoveBlankRecords is not supported");
}

bool TFixedFormatDataSet::RemoveExtraColumns()
{
    return Fail("RemoveExtraColumns is not supported");
}

// ---------------------------------------------------------------------------------------------------
// Opening and closing

bool TFixedFormatDataSet::CanOpen()
{
    return true;
}

bool TFixedFormatDataSet::Open()
{
    return OpenFile(nullptr);
}

bool TFixedFormatDataSet::Open(std::string bytes)
{
    return OpenFile(&bytes);
}

bool TFixedFormatDataSet::OpenFile(std::string* given)
{
    if (Active()) {
        return true;
    }
    if (!CanOpen()) {
        return false;
    }
    Fire(events.BeforeOpen);
    std::string bytes;
    if (given) {
        bytes = std::move(*given);
    } else {
        if (!FileExists(m_fileName)) {
            if (m_fileMustExist) {
                return Fail("File not found: " + m_fileName);
            }
            if (!WriteFileAtomic(m_fileName, {})) {
                return Fail("Cannot create file: " + m_fileName);
            }
        }
        if (!ReadWholeFile(m_fileName, bytes)) {
            return Fail("Cannot open file: " + m_fileName);
        }
    }
    // A NUL byte ends the whole text.
    if (const auto nul = bytes.find('\0'); nul != std::string::npos) {
        bytes.resize(nul);
    }
    std::string text = DecodeDictionary(bytes, m_encoding);
    std::string().swap(bytes);
    m_encodingChanged = false;
    // Line references are 32-bit.
    if (text.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return Fail("File too large: " + m_fileName);
    }
    m_text = std::move(text);

    std::size_t count = 0;
    ForEachLine(m_text, [&](std::size_t, std::size_t) { ++count; });
    m_lines.clear();
    m_lines.reserve(count);
    std::size_t longest = 0;
    ForEachLine(m_text, [&](std::size_t offset, std::size_t length) {
        // A line has at most as many characters as bytes: only a longer one can be the longest.
        if (length > longest) {
            longest = std::max(longest, CharCount(std::string_view(m_text).substr(offset, length)));
        }
        m_lines.push_back(LineRef{static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length),
                                  static_cast<std::int32_t>(m_lines.size() + 1)});
    });
    m_lastRecordId = static_cast<std::int32_t>(m_lines.size());
    BuildFieldLayout(longest);

    m_changesPending = false;
    m_modified = false;
    m_state = DataSetState::Browse;
    m_cursor = m_lines.empty() ? -1 : 0;
    ++m_generation;
    Notify(TableChange::Reset, -1);
    Fire(events.AfterOpen);
    return true;
}

void TFixedFormatDataSet::BuildFieldLayout(std::size_t longestLine)
{
    const int greatest =
        longestLine == 0 ? kDefaultFieldWidth : static_cast<int>(std::min<std::size_t>(longestLine, kMaxFieldWidth));
    m_fields.clear();
    for (const std::string& entry : m_schema) {
        const std::string trimmed = TrimControl(entry);
        if (trimmed.empty()) {
            continue;
        }
        TableFieldDef field;
        field.width = greatest;
        const auto eq = trimmed.find('=');
        field.name = TrimControl(trimmed.substr(0, eq));
        if (eq != std::string::npos) {
            const std::string widthText = TrimControl(trimmed.substr(eq + 1));
            int width = 0;
            const auto [end, ec] = std::from_chars(widthText.data(), widthText.data() + widthText.size(), width);
            if (ec == std::errc() && end == widthText.data() + widthText.size() && width > 0) {
                field.width = std::min(width, kMaxFieldWidth);
            }
        }
        m_fields.push_back(std::move(field));
    }
    if (m_fields.empty()) {
        m_fields.push_back(TableFieldDef{"Line", greatest, 0});
    }
    m_recordWidth = 0;
    for (TableFieldDef& field : m_fields) {
        field.offset = m_recordWidth;
        m_recordWidth += field.width;
    }
    ClearRecord(m_buffer);
}

bool TFixedFormatDataSet::Close()
{
    if (!Active()) {
        return true;
    }
    Fire(events.BeforeClose);
    // An unposted record is dropped.
    m_state = DataSetState::Browse;
    m_modified = false;
    if (m_changesPending && !m_readOnly) {
        std::string text;
        std::size_t size = 0;
        for (const LineRef& line : m_lines) {
            size += LineText(line).size() + 2;
        }
        text.reserve(size);
        for (const LineRef& line : m_lines) {
            text += LineText(line);
            text += "\r\n";
        }
        DictionaryEncoding encoding = m_encoding;
        const std::string bytes = EncodeDictionary(text, encoding);
        if (!WriteFileAtomic(m_fileName, bytes)) {
            Notify(TableChange::Reset, -1);
            return Fail("Cannot write file: " + m_fileName);
        }
        if (encoding != m_encoding) {
            m_encoding = encoding;
            m_encodingChanged = true;
        }
    }
    DropLines();
    m_state = DataSetState::Inactive;
    m_changesPending = false;
    Notify(TableChange::Reset, -1);
    Fire(events.AfterClose);
    return true;
}

void TFixedFormatDataSet::Discard()
{
    if (!Active()) {
        return;
    }
    m_changesPending = false;
    Close();
}

void TFixedFormatDataSet::DropLines()
{
    // Swapped out so the memory really goes.
    std::string().swap(m_text);
    std::vector<LineRef>().swap(m_lines);
    std::vector<std::string>().swap(m_edited);
    std::vector<std::uint32_t>().swap(m_freeEdited);
    m_fields.clear();
    m_recordWidth = 0;
    m_cursor = -1;
    m_cacheLine = -1;
    ++m_generation;
}

// ---------------------------------------------------------------------------------------------------
// Lines and records

std::string_view TFixedFormatDataSet::LineText(const LineRef& line) const
{
    if (line.length == kEdited) {
        return m_edited[line.offset];
    }
    return std::string_view(m_text).substr(line.offset, line.length);
}

void TFixedFormatDataSet::SetLineText(LineRef& line, std::string text)
{
    if (line.length == kEdited) {
        m_edited[line.offset] = std::move(text);
    } else if (!m_freeEdited.empty()) {
        line.offset = m_freeEdited.back();
        m_freeEdited.pop_back();
        m_edited[line.offset] = std::move(text);
    } else {
        line.offset = static_cast<std::uint32_t>(m_edited.size());
        m_edited.push_back(std::move(text));
    }
    line.length = kEdited;
    ++m_generation;
}

void TFixedFormatDataSet::ReleaseLine(LineRef& line)
{
    if (line.length == kEdited) {
        std::string().swap(m_edited[line.offset]);
        m_freeEdited.push_back(line.offset);
    }
}

void TFixedFormatDataSet::ClearRecord(Record& record) const
{
    record.values.assign(m_fields.size(), std::string());
    record.nulls.assign(m_fields.size(), false);
}

void TFixedFormatDataSet::LineToRecord(std::string_view line, Record& record) const
{
    // Fixed columns: each field is its slot of the line; a slot past the line's end is null.
    record.values.resize(m_fields.size());
    record.nulls.resize(m_fields.size());
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const std::size_t offset = CharOffset(line, static_cast<std::size_t>(m_fields[i].offset));
        record.nulls[i] = offset >= line.size();
        if (record.nulls[i]) {
            record.values[i].clear();
        } else {
            record.values[i].assign(TakeChars(line.substr(offset), static_cast<std::size_t>(m_fields[i].width)));
        }
    }
}

std::string TFixedFormatDataSet::RecordToLine(const Record& record) const
{
    std::string line;
    line.reserve(static_cast<std::size_t>(m_recordWidth));
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        std::string slot = record.nulls[i] ? std::string() : record.values[i];
        PadChars(slot, static_cast<std::size_t>(m_fields[i].width));
        line += slot;
    }
    return line;
}

std::string TFixedFormatDataSet::SlotValue(const Record& record, int field, bool& isNull) const
{
    const auto f = static_cast<std::size_t>(field);
    isNull = f >= record.values.size() || record.nulls[f];
    if (isNull) {
        return {};
    }
    if (m_trimSpace) {
        return TrimRightSpaces(record.values[f]);
    }
    std::string slot = record.values[f];
    PadChars(slot, static_cast<std::size_t>(m_fields[f].width));
    return slot;
}

int TFixedFormatDataSet::FieldIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (EqualNames(m_fields[i].name, name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// ---------------------------------------------------------------------------------------------------
// Navigation

int TFixedFormatDataSet::RecNo() const
{
    if (m_state == DataSetState::Insert || m_cursor < 0 || m_cursor >= RecordCount()) {
        return -1;
    }
    return m_lines[static_cast<std::size_t>(m_cursor)].id;
}

void TFixedFormatDataSet::SetCursor(int index)
{
    if (index != m_cursor) {
        m_cursor = index;
    }
    Notify(TableChange::CurrentChanged, CurrentRow());
}

// Every move finishes the edit first and only then looks at the lines: posting a new record adds a line
// and moves the cursor onto it, so a target taken before would be off by one.
void TFixedFormatDataSet::First()
{
    CheckBrowseMode();
    MoveTo(0);
}

void TFixedFormatDataSet::Last()
{
    CheckBrowseMode();
    MoveTo(RecordCount() - 1);
}

void TFixedFormatDataSet::Next()
{
    CheckBrowseMode();
    MoveTo(m_cursor + 1);
}

void TFixedFormatDataSet::Prior()
{
    CheckBrowseMode();
    MoveTo(m_cursor - 1);
}

void TFixedFormatDataSet::MoveTo(int index)
{
    if (!Active()) {
        return;
    }
    CheckBrowseMode();
    const int target = RecordCount() == 0 ? -1 : std::clamp(index, 0, RecordCount() - 1);
    Fire(events.BeforeScroll);
    SetCursor(target);
    Fire(events.AfterScroll);
}

bool TFixedFormatDataSet::HasCurrentRecord() const
{
    return m_state == DataSetState::Insert || (m_cursor >= 0 && m_cursor < RecordCount());
}

std::optional<std::string> TFixedFormatDataSet::FieldValue(int field)
{
    m_error.clear();
    if (field < 0 || field >= FieldCount()) {
        Fail("Field index out of range");
        return std::nullopt;
    }
    if (!HasCurrentRecord()) {
        Fail("No Records");
        return std::nullopt;
    }
    bool isNull = false;
    std::string value;
    if (m_state == DataSetState::Edit || m_state == DataSetState::Insert) {
        value = SlotValue(m_buffer, field, isNull);
    } else {
        Record record;
        LineToRecord(LineText(m_lines[static_cast<std::size_t>(m_cursor)]), record);
        value = SlotValue(record, field, isNull);
    }
    if (isNull) {
        return std::nullopt;
    }
    return value;
}

bool TFixedFormatDataSet::SetFieldValue(int field, std::string_view value)
{
    if (m_state != DataSetState::Edit && m_state != DataSetState::Insert) {
        return Fail(kNotEditing);
    }
    if (field < 0 || field >= FieldCount()) {
        return Fail("Field index out of range");
    }
    const auto f = static_cast<std::size_t>(field);
    m_buffer.values[f].assign(TakeChars(value, static_cast<std::size_t>(m_fields[f].width)));
    m_buffer.nulls[f] = false;
    m_modified = true;
    Notify(TableChange::RowChanged, CurrentRow());
    return true;
}

// ---------------------------------------------------------------------------------------------------
// View rows

int TFixedFormatDataSet::PendingRow() const
{
    return m_state == DataSetState::Insert ? m_insertAt : -1;
}

int TFixedFormatDataSet::CurrentRow() const
{
    if (m_state == DataSetState::Insert) {
        return m_insertAt;
    }
    return m_cursor >= 0 && m_cursor < RecordCount() ? m_cursor : -1;
}

int TFixedFormatDataSet::LineOfRow(int row) const
{
    const int pending = PendingRow();
    if (pending >= 0) {
        if (row == pending) {
            return -1;
        }
        if (row > pending) {
            --row;
        }
    }
    return row >= 0 && row < RecordCount() ? row : -1;
}

std::string TFixedFormatDataSet::RowFieldValue(int row, int field) const
{
    if (field < 0 || field >= FieldCount()) {
        return {};
    }
    bool isNull = false;
    if ((m_state == DataSetState::Edit || m_state == DataSetState::Insert) && row == CurrentRow()) {
        return SlotValue(m_buffer, field, isNull);
    }
    const int line = LineOfRow(row);
    if (line < 0) {
        return {};
    }
    if (m_cacheLine != line || m_cacheGeneration != m_generation) {
        LineToRecord(LineText(m_lines[static_cast<std::size_t>(line)]), m_cache);
        m_cacheLine = line;
        m_cacheGeneration = m_generation;
    }
    return SlotValue(m_cache, field, isNull);
}

int TFixedFormatDataSet::RowRecordId(int row) const
{
    const int line = LineOfRow(row);
    return line < 0 ? 0 : m_lines[static_cast<std::size_t>(line)].id;
}

void TFixedFormatDataSet::MoveToRow(int row)
{
    if (!Active() || row == CurrentRow()) {
        return;
    }
    int line = LineOfRow(row);
    if (line < 0) {
        return;
    }
    const bool inserting = m_state == DataSetState::Insert;
    const int insertAt = m_insertAt;
    const int before = RecordCount();
    CheckBrowseMode();
    // A posted new record pushes the lines below it down by one.
    if (inserting && RecordCount() > before && line >= insertAt) {
        ++line;
    }
    MoveTo(line);
}

// ---------------------------------------------------------------------------------------------------
// Edit states

bool TFixedFormatDataSet::Edit()
{
    if (!Active()) {
        return Fail(kNotOpen);
    }
    if (m_readOnly) {
        return Fail(kReadOnly);
    }
    if (m_state == DataSetState::Edit || m_state == DataSetState::Insert) {
        return true;
    }
    if (RecordCount() == 0) {
        return Insert();
    }
    Fire(events.BeforeEdit);
    LineToRecord(LineText(m_lines[static_cast<std::size_t>(m_cursor)]), m_buffer);
    m_state = DataSetState::Edit;
    m_modified = false;
    Notify(TableChange::RowChanged, m_cursor);
    Fire(events.AfterEdit);
    return true;
}

bool TFixedFormatDataSet::Insert()
{
    return StartInsert(false);
}

bool TFixedFormatDataSet::Append()
{
    return StartInsert(true);
}

bool TFixedFormatDataSet::StartInsert(bool append)
{
    if (!Active()) {
        return Fail(kNotOpen);
    }
    if (m_readOnly) {
        return Fail(kReadOnly);
    }
    CheckBrowseMode();
    Fire(events.BeforeInsert);
    m_insertAt = append ? RecordCount() : std::max(m_cursor, 0);
    ClearRecord(m_buffer);
    m_modified = false;
    Notify(TableChange::RowAboutToBeInserted, m_insertAt);
    m_state = DataSetState::Insert;
    Notify(TableChange::RowInserted, m_insertAt);
    Fire(events.OnNewRecord);
    Notify(TableChange::CurrentChanged, m_insertAt);
    Fire(events.AfterInsert);
    return true;
}

bool TFixedFormatDataSet::Post()
{
    if (m_state != DataSetState::Edit && m_state != DataSetState::Insert) {
        return Fail(kNotEditing);
    }
    Fire(events.OnUpdateData);
    Fire(events.BeforePost);
    std::string line = RecordToLine(m_buffer);
    int row = 0;
    if (m_state == DataSetState::Edit) {
        row = m_cursor;
        SetLineText(m_lines[static_cast<std::size_t>(m_cursor)], std::move(line));
    } else {
        if (m_lastRecordId == std::numeric_limits<std::int32_t>::max()) {
            return Fail("Too many records");
        }
        row = m_insertAt;
        LineRef ref{0, 0, ++m_lastRecordId};
        SetLineText(ref, std::move(line));
        m_lines.insert(m_lines.begin() + m_insertAt, ref);
        m_cursor = m_insertAt;
    }
    m_state = DataSetState::Browse;
    m_modified = false;
    m_changesPending = true;
    Notify(TableChange::RowChanged, row);
    Fire(events.AfterPost);
    return true;
}

bool TFixedFormatDataSet::Cancel()
{
    if (m_state != DataSetState::Edit && m_state != DataSetState::Insert) {
        return true;
    }
    Fire(events.BeforeCancel);
    const bool inserting = m_state == DataSetState::Insert;
    if (inserting) {
        Notify(TableChange::RowAboutToBeRemoved, m_insertAt);
    }
    m_state = DataSetState::Browse;
    m_modified = false;
    if (inserting) {
        Notify(TableChange::RowRemoved, m_insertAt);
        Notify(TableChange::CurrentChanged, CurrentRow());
    } else {
        Notify(TableChange::RowChanged, m_cursor);
    }
    Fire(events.AfterCancel);
    return true;
}

bool TFixedFormatDataSet::Delete()
{
    if (!Active()) {
        return Fail(kNotOpen);
    }
    if (m_readOnly) {
        return Fail(kReadOnly);
    }
    if (m_state == DataSetState::Insert) {
        return Cancel();
    }
    if (RecordCount() == 0 || m_cursor < 0) {
        return Fail("Cannot perform this operation on an empty dataset");
    }
    Fire(events.BeforeDelete);
    m_state = DataSetState::Browse;
    m_modified = false;
    const int row = m_cursor;
    Notify(TableChange::RowAboutToBeRemoved, row);
    ReleaseLine(m_lines[static_cast<std::size_t>(row)]);
    m_lines.erase(m_lines.begin() + row);
    ++m_generation;
    m_changesPending = true;
    if (m_cursor >= RecordCount()) {
        m_cursor = RecordCount() - 1;
    }
    Notify(TableChange::RowRemoved, row);
    Notify(TableChange::CurrentChanged, CurrentRow());
    Fire(events.AfterDelete);
    return true;
}

void TFixedFormatDataSet::CheckBrowseMode()
{
    if (m_state == DataSetState::Edit || m_state == DataSetState::Insert) {
        if (m_modified) {
            Post();
        } else {
            Cancel();
        }
    }
}

void TFixedFormatDataSet::Refresh()
{
    if (!Active()) {
        return;
    }
    CheckBrowseMode();
    Fire(events.BeforeRefresh);
    ++m_generation;
    Notify(TableChange::Reset, -1);
    Fire(events.AfterRefresh);
}

// ---------------------------------------------------------------------------------------------------
// Searching and bookmarks

bool TFixedFormatDataSet::Locate(std::string_view fieldNames, const std::vector<std::string>& values,
                                 LocateOptions options)
{
    m_error.clear();
    if (!Active()) {
        return false;
    }
    // A changed new record is a line to search too.
    CheckBrowseMode();
    if (RecordCount() == 0 || TrimControl(fieldNames).empty()) {
        return false;
    }
    std::vector<int> fields;
    std::size_t start = 0;
    while (start <= fieldNames.size()) {
        const auto comma = std::min(fieldNames.find(',', start), fieldNames.size());
        const std::string name = TrimControl(fieldNames.substr(start, comma - start));
        const int index = FieldIndex(name);
        if (index < 0) {
            return Fail("Field '" + name + "' not found");
        }
        fields.push_back(index);
        start = comma + 1;
    }
    std::vector<std::string> search;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& value = values.size() == 1 ? values[0] : (i < values.size() ? values[i] : std::string());
        search.push_back(TrimControl(value));
    }

    Fire(events.BeforeScroll);
    // One record reused for every line, compared in place: the search runs through the whole table.
    Record record;
    int found = -1;
    for (int line = 0; line < RecordCount() && found < 0; ++line) {
        LineToRecord(LineText(m_lines[static_cast<std::size_t>(line)]), record);
        bool all = true;
        for (std::size_t i = 0; i < fields.size() && all; ++i) {
            const auto f = static_cast<std::size_t>(fields[i]);
            std::string_view value = record.nulls[f] ? std::string_view() : std::string_view(record.values[f]);
            while (!value.empty() && static_cast<unsigned char>(value.back()) <= 32) {
                value.remove_suffix(1);
            }
            while (!value.empty() && static_cast<unsigned char>(value.front()) <= 32) {
                value.remove_prefix(1);
            }
            all = Matches(value, search[i], options);
        }
        if (all) {
            found = line;
        }
    }
    SetCursor(found >= 0 ? found : RecordCount() - 1);
    Fire(events.AfterScroll);
    return found >= 0;
}

std::optional<TFixedFormatDataSet::Bookmark> TFixedFormatDataSet::GetBookmark() const
{
    if (m_state == DataSetState::Insert || m_cursor < 0 || m_cursor >= RecordCount()) {
        return std::nullopt;
    }
    return m_lines[static_cast<std::size_t>(m_cursor)].id;
}

bool TFixedFormatDataSet::GotoBookmark(Bookmark bookmark)
{
    CheckBrowseMode();
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].id == bookmark) {
            MoveTo(static_cast<int>(i));
            return true;
        }
    }
    return Fail("Bookmark not found");
}

// ---------------------------------------------------------------------------------------------------
// TSdfDataSet

TSdfDataSet::TSdfDataSet() = default;

bool TSdfDataSet::SetDelimiter(char delimiter)
{
    if (Active()) {
        return Fail(kWhileOpen);
    }
    m_delimiter = delimiter;
    return true;
}

bool TSdfDataSet::SetFirstLineAsSchema(bool on)
{
    return on ? Fail("A schema from the first line is not supported") : true;
}

bool TSdfDataSet::CanOpen()
{
    // Field names taken from the first line ("Field1", ...) are not offered.
    return Schema().empty() ? Fail("Schema required") : true;
}

void TSdfDataSet::LineToRecord(std::string_view line, Record& record) const
{
    const auto count = static_cast<std::size_t>(FieldCount());
    record.values.resize(count);
    record.nulls.assign(count, false);
    SplitQuotedLine(line, m_delimiter, record.values);
    for (std::size_t i = 0; i < count; ++i) {
        const auto width = static_cast<std::size_t>(Field(static_cast<int>(i)).width);
        // Cheap when the value has no more bytes than the width has characters.
        if (record.values[i].size() > width) {
            record.values[i].resize(CharOffset(record.values[i], width));
        }
    }
}

std::string TSdfDataSet::RecordToLine(const Record& record) const
{
    return JoinQuotedLine(record.values, m_delimiter);
}

} // namespace vb
