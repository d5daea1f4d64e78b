#pragma once
// Image names become file names on the programmer and keys of its index: the
// characters that a file name or the index cannot hold are refused as typed.
#include <QValidator>

class CNameValidator : public QValidator
{
    Q_OBJECT
public:
    explicit CNameValidator(QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;

    static bool HasForbidden(const QString &text);
    static QString Forbidden() { return QStringLiteral("\\/:*?\"<>|="); }
    // What the user is shown when a forbidden character is typed.
    static QString RefusedText();

signals:
    void sigRefused(const QString &text) const;
};
