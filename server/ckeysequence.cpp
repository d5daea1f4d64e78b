#include "ckeysequence.h"

#include <Qt>

QList<int> CKeySequence::TestModeKeys()
{
    return {Qt::Key_Q, Qt::Key_E, Qt::Key_L, Qt::Key_7, Qt::Key_2, Qt::Key_0, Qt::Key_A, Qt::Key_T};
}

CKeySequence::CKeySequence(const QList<int> &sequence) : m_sequence(sequence) {}

bool CKeySequence::Feed(int key)
{
    if (m_sequence.isEmpty())
        return false;
    m_last.append(key);
    while (m_last.size() > m_sequence.size())
        m_last.removeFirst();
    if (m_last != m_sequence)
        return false;
    // A match is used up, so one more key cannot toggle again by overlap.
    m_last.clear();
    return true;
}
