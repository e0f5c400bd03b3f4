#pragma once
// The ordered list of picture paths, its random insertion order and path handling. Platform-free.
#include <cstddef>
#include <functional>
#include <list>
#include <string>
#include <vector>

#include "fw/MultiByteText.h"

// The pictures of a run, in the order they are shown, with the cursor the frame loop advances. Paths are wide
// (UTF-16): a picture's name may hold characters the ANSI code page cannot spell.
class PictureList {
public:
    PictureList() = default;
    // The cursor points into the list itself: a copy's cursor would point into the original.
    PictureList(const PictureList&) = delete;
    PictureList& operator=(const PictureList&) = delete;

    bool Empty() const { return m_entries.empty(); }
    size_t Size() const { return m_entries.size(); }
    const std::list<std::wstring>& Entries() const { return m_entries; }

    void Append(std::wstring path);
    // Inserts before the entry at position; the list's end() appends.
    std::list<std::wstring>::iterator Insert(std::list<std::wstring>::const_iterator position, std::wstring path);
    std::list<std::wstring>::iterator End() { return m_entries.end(); }

    // The entry the next picture phase shows, moving the cursor on (after the last entry back to the head);
    // null for an empty list. The cursor starts at the head.
    const std::wstring* TakeNext();
    void Clear();

private:
    std::list<std::wstring> m_entries;
    std::list<std::wstring>::iterator m_cursor = m_entries.end();
    bool m_cursorStarted = false;
};

// One draw of the C library generator: an integer from 0 to 32767.
using RandomDraw = std::function<int()>;

// A slot index in [0, slots). Up to 32768 slots one draw mod slots serves. Beyond that one draw can no longer
// reach the later slots, so two draws are joined into a 30-bit number first ((first << 15) | second), which
// keeps every gap of the list reachable for any folder that fits in memory.
size_t DrawSlot(size_t slots, const RandomDraw& draw);

// Builds a list in random order: each new path goes into one of the (paths so far + 1) gaps with equal
// chance, so every order of the paths is equally likely.
class CShuffledInserter {
public:
    CShuffledInserter(PictureList& list, RandomDraw draw);
    void Add(std::wstring path);
    size_t Slots() const { return m_slots.size(); }

private:
    PictureList& m_list;
    RandomDraw m_draw;
    // Slot 0 stands for the tail of the list; slot n holds the entry of the n-th path added.
    std::vector<std::list<std::wstring>::iterator> m_slots;
};

// The folder path with every trailing backslash removed and exactly one appended. The path is walked by whole
// characters, so the second byte of a double-byte character (0x5C is a valid one in code page 932) is never
// taken for a backslash.
std::string FolderWithOneBackslash(const std::string& path, LeadBytePredicate isLeadByte);
