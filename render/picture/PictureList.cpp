#include "render/picture/PictureList.h"

void PictureList::Append(std::wstring path) {
    m_entries.push_back(std::move(path));
}

std::list<std::wstring>::iterator PictureList::Insert(std::list<std::wstring>::const_iterator position,
                                                      std::wstring path) {
    return m_entries.insert(position, std::move(path));
}

const std::wstring* PictureList::TakeNext() {
    if (m_entries.empty())
        return nullptr;
    if (!m_cursorStarted || m_cursor == m_entries.end()) {
        m_cursor = m_entries.begin();
        m_cursorStarted = true;
    }
    const std::wstring* path = &*m_cursor;
    ++m_cursor;
    return path;
}

void PictureList::Clear() {
    m_entries.clear();
    m_cursor = m_entries.end();
    m_cursorStarted = false;
}

size_t DrawSlot(size_t slots, const RandomDraw& draw) {
    if (slots <= 32768)
        return static_cast<size_t>(draw()) % slots;
    const size_t high = static_cast<size_t>(draw()) & 0x7FFF;
    const size_t low = static_cast<size_t>(draw()) & 0x7FFF;
    return ((high << 15) | low) % slots;
}

CShuffledInserter::CShuffledInserter(PictureList& list, RandomDraw draw) : m_list(list), m_draw(std::move(draw)) {
    m_slots.push_back(m_list.End());
}

void CShuffledInserter::Add(std::wstring path) {
    const size_t r = DrawSlot(m_slots.size(), m_draw);
    // Slot 0 holds the list's end, so inserting before it appends.
    m_slots.push_back(m_list.Insert(m_slots[r], std::move(path)));
}

std::string FolderWithOneBackslash(const std::string& path, LeadBytePredicate isLeadByte) {
    return TrimTrailingBackslashes(path, isLeadByte) + '\\';
}
