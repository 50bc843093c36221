#pragma once

#include <span>

// The detail columns the document reader answers: Windows' own numbers for the columns
// Windows has, numbers from 400 up for the document properties no Windows list numbers.
// Headings are Explorer's Simplified Chinese ones, those of Windows' columns from the list
// the Windows build falls back on. The reader and the _propids.txt generator both read
// this one table.
enum class ColumnField {
    name,
    size,
    itemType,
    modified,
    created,
    accessed,
    attributes,
    perceivedType,
    owner,
    kind,
    keywords,
    authors,
    title,
    subject,
    category,
    comments,
    copyright,
    company,
    application,
    contentCreated,
    lastPrinted,
    lastSaved,
    pages,
    editingTime,
    words,
    lastAuthor,
    revision,
    templateName,
    characters,
    manager,
};

struct Column {
    int number;
    const char* heading;  // UTF-8
    ColumnField field;
};

// In ascending order of number.
std::span<const Column> columnTable();
// The column of that number, or nullptr when the reader does not know it.
const Column* findColumn(int number);
