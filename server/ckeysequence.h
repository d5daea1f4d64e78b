#pragma once
// Recognises a fixed sequence of released keys (the internal test mode switch).
#include <QList>

class CKeySequence
{
public:
    // The switch of the internal test mode: Q E L 7 2 0 A T.
    static QList<int> TestModeKeys();

    explicit CKeySequence(const QList<int> &sequence = TestModeKeys());

    // Records one released key; true when the last keys now equal the sequence.
    bool Feed(int key);
    const QList<int> &LastKeys() const { return m_last; }

private:
    QList<int> m_sequence;
    QList<int> m_last;
};
