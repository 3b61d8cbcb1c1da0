// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// SdfData: a text file as an editable table of string fields, one record per line.
//
// TFixedFormatDataSet keeps the file as a list of lines and maps each line onto fixed-width string fields;
// TSdfDataSet reads and writes each line as delimited fields instead (quoting of line_format.h). The lines
// stay lines: the file's bytes are kept in one buffer and a line is a reference into it (or into the
// store of edited lines), so a large file costs little more than its own size. A record is parsed only
// when it is read.
//
// The table follows the data-aware dataset model: closed, browse, edit and insert states, a cursor on the
// current line, posting and cancelling, bookmarks and events. Failures are reported as return values with
// LastError(); nothing throws. The file on disk changes only at Close.

#include "dictionary/dictionary_encoding.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vb {

enum class DataSetState { Inactive, Browse, Edit, Insert };

struct LocateOptions
{
    bool caseInsensitive = false;
    // The field matches when it begins with the search value.
    bool partialKey = false;
};

struct TableFieldDef
{
    std::string name;
    int width = 0; // characters
    // Start of the field's slot in the record, in characters.
    int offset = 0;
};

// What a view of the table needs to follow it. Rows are view rows: the lines, plus the new record while
// one is being inserted.
struct TableChange
{
    enum Kind {
        Reset, // opened, closed or refreshed: everything may differ
        RowAboutToBeInserted, // a new row will appear at `row`
        RowInserted, // ... and has
        RowAboutToBeRemoved, // the row at `row` will go
        RowRemoved, // ... and has
        RowChanged, // values or the edit state of `row` changed
        CurrentChanged, // the cursor moved to `row` (-1: no current record)
    };
    Kind kind = Reset;
    int row = -1;
};

class TFixedFormatDataSet
{
public:
    using Bookmark = std::int32_t;

    // Width of fields without their own when no line of the file has a character.
    static constexpr int kDefaultFieldWidth = 250;
    // The widest string field; longer values are cut.
    static constexpr int kMaxFieldWidth = 8192;

    TFixedFormatDataSet();
    virtual ~TFixedFormatDataSet();
    TFixedFormatDataSet(const TFixedFormatDataSet&) = delete;
    TFixedFormatDataSet& operator=(const TFixedFormatDataSet&) = delete;

    // ---- Properties: a change while the table is open is refused (false).
    const std::string& FileName() const { return m_fileName; }
    bool SetFileName(const std::string& fileName);
    // True: opening a missing file fails; false: it is created empty.
    bool FileMustExist() const { return m_fileMustExist; }
    bool SetFileMustExist(bool mustExist);
    // No editing, and the file is never written.
    bool ReadOnly() const { return m_readOnly; }
    bool SetReadOnly(bool readOnly);
    // Field names, each optionally "name=width".
    const std::vector<std::string>& Schema() const { return m_schema; }
    bool SetSchema(std::vector<std::string> schema);
    // Trailing spaces are cut from every value read.
    bool TrimSpace() const { return m_trimSpace; }
    bool SetTrimSpace(bool trim);
    // Filtering through OnFilterRecord is not offered: switching it on is refused.
    bool Filtered() const { return false; }
    bool SetFiltered(bool on);

    // ---- Opening and closing
    bool Active() const { return m_state != DataSetState::Inactive; }
    DataSetState State() const { return m_state; }
    // Reads the whole file, builds the field layout and puts the cursor on the first line. False (and the
    // table stays closed) when the file cannot be read.
    bool Open();
    // The same with the file's bytes at hand (as just written there), which are then not read again.
    bool Open(std::string bytes);
    // Drops a record still in edit or insert state, writes the lines when anything was posted or deleted
    // (and the table is not read-only), then drops the lines. False when writing failed: the table then
    // stays open with its lines, so nothing is lost.
    bool Close();
    // Closes without writing anything: every edit since opening is dropped.
    void Discard();
    // Posted since opening: the file will be written at Close.
    bool ChangesPending() const { return m_changesPending; }
    // The file's encoding as found at Open (a new file is 1251). Values are UTF-8 whatever it is.
    DictionaryEncoding Encoding() const { return m_encoding; }
    // The last Close had to write a 1251 file as UTF-8 with the byte-order mark: a value holds a character
    // 1251 lacks. Cleared by the next Open.
    bool EncodingChanged() const { return m_encodingChanged; }

    // ---- Fields
    int FieldCount() const { return static_cast<int>(m_fields.size()); }
    const TableFieldDef& Field(int index) const { return m_fields.at(static_cast<std::size_t>(index)); }
    // -1 when there is no such field (names compare without regard to ASCII case).
    int FieldIndex(std::string_view name) const;
    int RecordWidth() const { return m_recordWidth; }

    // ---- Navigation
    int RecordCount() const { return static_cast<int>(m_lines.size()); }
    // The current record's RecordId, -1 without one.
    int RecNo() const;
    // Index of the current line, -1 without one.
    int CurrentLine() const { return m_cursor; }
    bool Bof() const { return m_cursor <= 0; }
    bool Eof() const { return m_cursor < 0 || m_cursor >= RecordCount() - 1; }
    // Each first finishes an edit (posting a changed record, dropping an unchanged one).
    void First();
    void Next();
    void Prior();
    void Last();
    // To the line at `index`, clamped to the lines.
    void MoveTo(int index);

    // ---- Reading and writing the current record
    bool HasCurrentRecord() const;
    // The field of the current record (of the record being edited or inserted): the slot with trailing
    // spaces cut (TrimSpace). Null when the slot begins past the end of the record's text; nullopt with
    // LastError "No Records" when there is no current record.
    std::optional<std::string> FieldValue(int field);
    // Only in edit or insert state; the value is cut to the field width.
    bool SetFieldValue(int field, std::string_view value);
    // The field in a view row, without moving the cursor: what a grid shows.
    std::string RowFieldValue(int row, int field) const;
    // The RecordId shown in a view row: 0 for the record being inserted.
    int RowRecordId(int row) const;

    // ---- Edit states
    // Edit on an empty table inserts instead.
    bool Edit();
    // A new record before the current line.
    bool Insert();
    // A new record after the last line.
    bool Append();
    bool Post();
    bool Cancel();
    // Removes the current line; after the last line the cursor goes to the new last line.
    bool Delete();
    // Posts a changed record being edited or inserted, drops an unchanged one.
    void CheckBrowseMode();
    // A field was written since Edit, Insert or Append.
    bool Modified() const { return m_modified; }

    // ---- View rows: the lines, with the new record in its place while one is inserted.
    int RowCount() const { return RecordCount() + (m_state == DataSetState::Insert ? 1 : 0); }
    // The row of the current record (the new one in insert state); -1 without one.
    int CurrentRow() const;
    // The line shown in a row; -1 for the new record.
    int LineOfRow(int row) const;
    // Moves the cursor to the record shown in `row` (finishing an edit first).
    void MoveToRow(int row);

    // ---- Searching
    // Moves through the records from the first and stops on the first whose named fields (comma separated)
    // all match; `values` holds one value for all fields or one per field. Without a match the cursor ends
    // on the last record and the result is false.
    bool Locate(std::string_view fieldNames, const std::vector<std::string>& values, LocateOptions options);

    // ---- Bookmarks: a bookmark is a RecordId.
    std::optional<Bookmark> GetBookmark() const;
    // False with "Bookmark not found" when the record is gone.
    bool GotoBookmark(Bookmark bookmark);

    // Redisplays the records; the file is not read again.
    void Refresh();

    // ---- Operations the program does not use
    bool SaveFileAs(const std::string& fileName);
    bool RemoveBlankRecords();
    bool RemoveExtraColumns();

    const std::string& LastError() const { return m_error; }

    // ---- Events
    struct Events
    {
        std::function<void()> BeforeOpen, AfterOpen, BeforeClose, AfterClose;
        std::function<void()> BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
        std::function<void()> BeforePost, AfterPost, BeforeCancel, AfterCancel;
        std::function<void()> BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
        std::function<void()> BeforeRefresh, AfterRefresh, OnNewRecord;
        // The data link's update notice: just before a record is posted, also when a changed record is
        // posted because the cursor moves on.
        std::function<void()> OnUpdateData;
        // For views.
        std::function<void(const TableChange&)> OnTableChange;
    };
    Events events;

protected:
    // One parsed record: a value per field, each at most its field's width; null values have no text.
    struct Record
    {
        std::vector<std::string> values;
        std::vector<bool> nulls;
    };

    // The line as a record, and a record as a line. Fixed columns here.
    virtual void LineToRecord(std::string_view line, Record& record) const;
    virtual std::string RecordToLine(const Record& record) const;
    // Checked before opening: false (with LastError) refuses the open.
    virtual bool CanOpen();

    void ClearRecord(Record& record) const;
    bool Fail(std::string message);
    // Open, from the given bytes or else from the file.
    bool OpenFile(std::string* given);

private:
    struct LineRef
    {
        std::uint32_t offset; // into the file buffer, or an index into m_edited
        std::uint32_t length; // kEdited: the line lives in m_edited
        std::int32_t id;
    };
    static constexpr std::uint32_t kEdited = 0xFFFFFFFFu;

    std::string_view LineText(const LineRef& line) const;
    void SetLineText(LineRef& line, std::string text);
    void ReleaseLine(LineRef& line);
    void BuildFieldLayout(std::size_t longestLine);
    std::string SlotValue(const Record& record, int field, bool& isNull) const;
    void Notify(TableChange::Kind kind, int row) const;
    static void Fire(const std::function<void()>& event);
    void SetCursor(int index);
    bool StartInsert(bool append);
    void DropLines();
    int PendingRow() const;

    std::string m_fileName;
    bool m_fileMustExist = true;
    bool m_readOnly = false;
    std::vector<std::string> m_schema;
    bool m_trimSpace = true;

    DataSetState m_state = DataSetState::Inactive;
    std::string m_text; // the file's text up to a NUL, as UTF-8
    DictionaryEncoding m_encoding = DictionaryEncoding::Cp1251;
    bool m_encodingChanged = false;
    std::vector<std::string> m_edited;
    std::vector<std::uint32_t> m_freeEdited;
    std::vector<LineRef> m_lines;
    std::vector<TableFieldDef> m_fields;
    int m_recordWidth = 0;
    std::int32_t m_lastRecordId = 0;
    int m_cursor = -1;
    bool m_changesPending = false;

    // The record in edit or insert state.
    Record m_buffer;
    bool m_modified = false;
    int m_insertAt = -1;

    // The record read last by RowFieldValue.
    mutable Record m_cache;
    mutable int m_cacheLine = -1;
    mutable std::uint64_t m_cacheGeneration = 0;
    std::uint64_t m_generation = 1;

    std::string m_error;
};

class TSdfDataSet : public TFixedFormatDataSet
{
public:
    TSdfDataSet();

    char Delimiter() const { return m_delimiter; }
    bool SetDelimiter(char delimiter);
    // A schema read from the first line is not offered: switching it on is refused.
    bool FirstLineAsSchema() const { return false; }
    bool SetFirstLineAsSchema(bool on);

protected:
    void LineToRecord(std::string_view line, Record& record) const override;
    std::string RecordToLine(const Record& record) const override;
    bool CanOpen() override;

private:
    char m_delimiter = ',';
};

} // namespace vb
