#include "Products/Corvane/Core/RegisterTable.h"

#include <utility>

namespace Corvane {

bool CRegisterTable::SetAt(std::size_t index, WORD value)
{
    if (index >= m_arrWords.size())
        return false;
    m_arrWords[index] = value;
    return true;
}

bool CRegisterTable::Allocate(std::size_t count)
{
    if (count > kMaxWords)
        return false;
    m_arrWords.assign(count, 0);
    return true;
}

bool CRegisterTable::Assign(const WORD* words, std::size_t count)
{
    if (count > kMaxWords || (count > 0 && !words))
        return false;
    m_arrWords.assign(words, words + count);
    return true;
}

bool CRegisterTable::Assign(std::vector<WORD> words)
{
    if (words.size() > kMaxWords)
        return false;
    m_arrWords = std::move(words);
    return true;
}

}  // namespace Corvane
