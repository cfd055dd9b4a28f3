#pragma once

#include "io/CList.h"
#include "io/CObject.h"

// One line of a string list: a name (from CObject) and a text, both owned.
class CStringItem : public CObject
{
public:
    explicit CStringItem(const char* text);
    ~CStringItem() override;

    const char* Text() const { return text; }
    void SetText(const char* value);

private:
    char* text;
};

// An ordered list of text lines that owns its items; loads and saves text files.
class CStringList : public CObject
{
public:
    // Longest piece of a line read at once; longer lines become several items.
    static constexpr int kMaxLineChars = 255;

    CStringList() = default;
    ~CStringList() override;

    // Replaces the list with the file's lines, each trimmed of blanks and line
    // ends. False (and the list unchanged) when the file does not open.
    bool LoadFromFile(const char* path);
    // Writes the items with CR LF between them (not after the last). False
    // when the file could not be written completely.
    bool SaveToFile(const char* path) const;

    void Add(const char* text);
    // Inserts a line so that it gets the given index (appends past the end).
    void Insert(int index, const char* text);
    // Replaces the text at index; ignored outside the range.
    void Set(int index, const char* text);
    int Count() const { return items.Count(); }
    // The text at index, or null outside 0..Count()-1.
    const char* Get(int index) const;
    void Clear();

private:
    CList items;
};
