#include "qareporterfailuremask.h"

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode() | 0x20;
    return isDigit(c) || (u >= u'a' && u <= u'f');
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Reads the message once, left to right; each rule either takes the
// characters at the position or leaves them to the next.
class Masker
{
public:
    explicit Masker(QStringView text) : m_text(text) { m_out.reserve(text.size()); }

    QString run()
    {
        while (m_pos < m_text.size()) {
            if (!(quoted() || temporaryPath() || timeStamp() || hexadecimal() || number() ||
                  space())) {
                m_out += m_text[m_pos++];
            }
        }
        return m_out.trimmed();
    }

private:
    QChar at(qsizetype pos) const { return pos < m_text.size() ? m_text[pos] : QChar(); }
    bool wordBefore() const { return m_pos > 0 && isWordChar(m_text[m_pos - 1]); }

    qsizetype digitsFrom(qsizetype pos) const
    {
        qsizetype end = pos;
        while (isDigit(at(end)))
            ++end;
        return end - pos;
    }

    void take(qsizetype end, QLatin1String placeholder)
    {
        m_out += placeholder;
        m_pos = end;
    }

    // "..." or '...' closed on the same line; an apostrophe inside a word
    // ("don't") opens nothing.
    bool quoted()
    {
        const QChar quote = m_text[m_pos];
        if (quote != QLatin1Char('"') && quote != QLatin1Char('\''))
            return false;
        if (quote == QLatin1Char('\'') && wordBefore())
            return false;
        // A quote whose line was already searched in vain opens nothing,
        // so a line of unclosed quotes is read once.
        qsizetype& unclosedUntil = m_unclosedUntil[quote == QLatin1Char('"') ? 0 : 1];
        if (m_pos < unclosedUntil)
            return false;
        for (qsizetype end = m_pos + 1; end < m_text.size(); ++end) {
            const QChar c = m_text[end];
            if (c == QLatin1Char('\\')) {
                ++end;
            } else if (c == quote) {
                take(end + 1, QLatin1String("\"<str>\""));
                return true;
            } else if (c == QLatin1Char('\n')) {
                unclosedUntil = end;
                return false;
            }
        }
        unclosedUntil = m_text.size();
        return false;
    }

    // A path under a temporary folder, up to the next white space or quote.
    bool temporaryPath()
    {
        if (wordBefore())
            return false;
        static const QLatin1String roots[] = {
            QLatin1String("/tmp/"), QLatin1String("/var/tmp/"), QLatin1String("/var/folders/"),
            QLatin1String("/private/var/folders/"), QLatin1String("/dev/shm/")};
        bool found = false;
        for (const QLatin1String& root : roots)
            found = found || m_text.mid(m_pos).startsWith(root);
        if (!found && !windowsTemporary())
            return false;
        qsizetype end = m_pos;
        while (end < m_text.size() && !m_text[end].isSpace() && m_text[end] != QLatin1Char('"') &&
               m_text[end] != QLatin1Char('\''))
            ++end;
        take(end, QLatin1String("<tmp>"));
        return true;
    }

    // C:\...\Temp\... up to the next white space. A word already read
    // in vain is not read again.
    bool windowsTemporary()
    {
        if (m_pos < m_plainUntil || !m_text[m_pos].isLetter() ||
            at(m_pos + 1) != QLatin1Char(':') || at(m_pos + 2) != QLatin1Char('\\'))
            return false;
        qsizetype end = m_pos;
        while (end < m_text.size() && !m_text[end].isSpace())
            ++end;
        m_plainUntil = end;
        return m_text.mid(m_pos, end - m_pos)
            .contains(QLatin1String("\\Temp\\"), Qt::CaseInsensitive);
    }

    // 2026-12-07, 11:48:58(.123), or both with T or a space between, and a
    // zone (Z, +01:00) after a time.
    bool timeStamp()
    {
        if (wordBefore() || !isDigit(m_text[m_pos]))
            return false;
        qsizetype end = date(m_pos);
        if (end > m_pos && (at(end) == QLatin1Char('T') || at(end) == QLatin1Char(' '))) {
            const qsizetype timeEnd = timeOfDay(end + 1);
            if (timeEnd > end + 1)
                end = zone(timeEnd);
        } else if (end == m_pos) {
            end = timeOfDay(m_pos);
            if (end > m_pos)
                end = zone(end);
        }
        if (end == m_pos)
            return false;
        take(end, QLatin1String("<time>"));
        return true;
    }

    qsizetype date(qsizetype pos) const
    {
        if (digitsFrom(pos) != 4 || at(pos + 4) != QLatin1Char('-') || digitsFrom(pos + 5) != 2 ||
            at(pos + 7) != QLatin1Char('-') || digitsFrom(pos + 8) != 2)
            return pos;
        return pos + 10;
    }

    qsizetype timeOfDay(qsizetype pos) const
    {
        const qsizetype hours = digitsFrom(pos);
        if (hours < 1 || hours > 2 || at(pos + hours) != QLatin1Char(':'))
            return pos;
        qsizetype end = pos + hours + 1;
        if (digitsFrom(end) != 2 || at(end + 2) != QLatin1Char(':') || digitsFrom(end + 3) != 2)
            return pos;
        end += 5;
        if ((at(end) == QLatin1Char('.') || at(end) == QLatin1Char(',')) && digitsFrom(end + 1) > 0)
            end += 1 + digitsFrom(end + 1);
        return end;
    }

    qsizetype zone(qsizetype pos) const
    {
        if (at(pos) == QLatin1Char('Z'))
            return pos + 1;
        if ((at(pos) == QLatin1Char('+') || at(pos) == QLatin1Char('-')) &&
            digitsFrom(pos + 1) == 2) {
            qsizetype end = pos + 3;
            if (at(end) == QLatin1Char(':'))
                ++end;
            if (digitsFrom(end) == 2)
                return end + 2;
        }
        return pos;
    }

    // 0x1f2e, or a run of eight or more hexadecimal digits with a digit in
    // it (hashes, addresses printed without 0x), as a whole word.
    bool hexadecimal()
    {
        if (wordBefore())
            return false;
        qsizetype end = m_pos;
        if (m_text[m_pos] == QLatin1Char('0') && (at(m_pos + 1).unicode() | 0x20) == u'x' &&
            isHexDigit(at(m_pos + 2))) {
            end = m_pos + 2;
            while (isHexDigit(at(end)))
                ++end;
        } else {
            bool digit = false;
            while (isHexDigit(at(end)))
                digit = isDigit(m_text[end++]) || digit;
            if (end - m_pos < 8 || !digit || isWordChar(at(end)))
                return false;
        }
        take(end, QLatin1String("<hex>"));
        return true;
    }

    // Digits, with a fraction; inside a word too ("test12" is "test<num>").
    bool number()
    {
        if (!isDigit(m_text[m_pos]))
            return false;
        qsizetype end = m_pos + digitsFrom(m_pos);
        if (at(end) == QLatin1Char('.') && isDigit(at(end + 1)))
            end += 1 + digitsFrom(end + 1);
        take(end, QLatin1String("<num>"));
        return true;
    }

    bool space()
    {
        if (!m_text[m_pos].isSpace())
            return false;
        qsizetype end = m_pos;
        while (end < m_text.size() && m_text[end].isSpace())
            ++end;
        take(end, QLatin1String(" "));
        return true;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    QString m_out;
    qsizetype m_unclosedUntil[2] = {0, 0}; // by quote: double, single
    qsizetype m_plainUntil = 0;
};

} // namespace

QString QAReporterFailureMask::mask(QStringView message)
{
    return Masker(message).run();
}
