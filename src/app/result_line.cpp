#include "app/result_line.h"

#include <QStringList>
#include <vector>

namespace treadkey {

namespace {

// One piece of a Qt date-time format: a field (a run of pattern letters) or literal text, unquoted.
struct FormatPiece {
    bool field;
    QString text;
};

bool IsPatternLetter(QChar c) {
    return c.isLetter() && c.unicode() < 0x80;
}

// Splits a format as Qt reads it: quoted text is literal ('' is a quote), a run of one ASCII letter is a
// field, and an am/pm marker ("AP", "ap", "A", "a") is one field.
std::vector<FormatPiece> SplitFormat(const QString& format) {
    std::vector<FormatPiece> pieces;
    auto addLiteral = [&pieces](QChar c) {
        if (pieces.empty() || pieces.back().field) {
            pieces.push_back({false, QString()});
        }
        pieces.back().text += c;
    };
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'') {
            if (i + 1 < format.size() && format[i + 1] == u'\'') {
                addLiteral(c);
                i += 2;
                continue;
            }
            for (++i; i < format.size(); ++i) {
                if (format[i] == u'\'') {
                    if (i + 1 < format.size() && format[i + 1] == u'\'') {
                        addLiteral(format[i++]);
                        continue;
                    }
                    break;
                }
                addLiteral(format[i]);
            }
            ++i;
        } else if (IsPatternLetter(c)) {
            qsizetype end = i + 1;
            if ((c == u'a' || c == u'A') && end < format.size() &&
                (format[end] == u'p' || format[end] == u'P')) {
                ++end;
            } else {
                while (end < format.size() && format[end] == c) {
                    ++end;
                }
            }
            pieces.push_back({true, format.mid(i, end - i)});
            i = end;
        } else {
            addLiteral(c);
            ++i;
        }
    }
    return pieces;
}

QString JoinFormat(const std::vector<FormatPiece>& pieces) {
    QString format;
    for (const FormatPiece& piece : pieces) {
        if (piece.field) {
            format += piece.text;
        } else {
            QString quoted = piece.text;
            quoted.replace(QStringLiteral("'"), QStringLiteral("''"));
            format += QStringLiteral("'") + quoted + QStringLiteral("'");
        }
    }
    return format;
}

// The fields this Qt writes in a time; any other letter would stand in the line as it is.
bool IsTimeField(const QString& field) {
    static const QStringList kept = {"h", "hh",  "H", "HH", "m",  "mm", "s",  "ss",
                                     "z", "zzz", "a", "A",  "ap", "AP", "aP", "Ap"};
    return kept.contains(field);
}

bool IsSeparator(QChar c) {
    return c.isSpace() || c == u',' || c == u'\u060C' || c == u'\u3001';
}

// What stood between a removed field and its neighbour: separators, and a bracket pair around the field.
void DropFieldSurroundings(QString& before, QString& after) {
    static const QString opening = QStringLiteral("([{\uFF08\u3010");
    static const QString closing = QStringLiteral(")]}\uFF09\u3011");
    const QString beforeTrimmed = before.trimmed();
    const QString afterTrimmed = after.trimmed();
    if (!beforeTrimmed.isEmpty() && !afterTrimmed.isEmpty()) {
        const qsizetype bracket = opening.indexOf(beforeTrimmed.back());
        if (bracket >= 0 && afterTrimmed.front() == closing[bracket]) {
            before.truncate(before.lastIndexOf(opening[bracket]));
            after.remove(0, after.indexOf(closing[bracket]) + 1);
        }
    }
    while (!before.isEmpty() && IsSeparator(before.back())) {
        before.chop(1);
    }
    while (!after.isEmpty() && IsSeparator(after.front())) {
        after.remove(0, 1);
    }
}

// The locale's long time form as a Qt time format, less its time-zone field and whatever framed or
// separated it ("H:mm:ss (t)" becomes "H:mm:ss"), with a day period Qt cannot write given as AM/PM.
QString ResultTimeFormat(const QLocale& locale) {
    std::vector<FormatPiece> pieces = SplitFormat(locale.timeFormat(QLocale::LongFormat));
    std::vector<FormatPiece> kept;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        FormatPiece piece = pieces[i];
        if (!piece.field) {
            if (!kept.empty() && !kept.back().field) {
                kept.back().text += piece.text;
            } else {
                kept.push_back(piece);
            }
            continue;
        }
        if (piece.text.front() == u'B' || piece.text.front() == u'b') {
            piece.text = QStringLiteral("AP"); // a day period ("下午"): its nearest Qt field
        }
        if (IsTimeField(piece.text)) {
            kept.push_back(piece);
            continue;
        }
        // The time zone, or a letter Qt would print as itself: gone, with what framed it.
        const bool literalBefore = !kept.empty() && !kept.back().field;
        const bool literalAfter = i + 1 < pieces.size() && !pieces[i + 1].field;
        QString before = literalBefore ? kept.back().text : QString();
        QString after = literalAfter ? pieces[i + 1].text : QString();
        DropFieldSurroundings(before, after);
        const bool fieldBefore = kept.size() > (literalBefore ? 1u : 0u);
        const bool fieldAfter = i + (literalAfter ? 2 : 1) < pieces.size();
        if ((fieldBefore || !before.isEmpty()) && (fieldAfter || !after.isEmpty())) {
            after.prepend(u' '); // taken from the middle: one space still parts its neighbours
        }
        if (literalBefore) {
            kept.back().text = before;
        }
        if (literalAfter) {
            pieces[i + 1].text = after;
        } else if (!after.isEmpty()) {
            pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(i) + 1, {false, after});
        }
    }
    while (!kept.empty() && !kept.back().field && kept.back().text.trimmed().isEmpty()) {
        kept.pop_back();
    }
    while (!kept.empty() && !kept.front().field && kept.front().text.trimmed().isEmpty()) {
        kept.erase(kept.begin());
    }
    return JoinFormat(kept);
}

} // namespace

QString ResultTimeStamp(const QDateTime& when, const QLocale& locale) {
    return locale.toString(when.date(), QLocale::ShortFormat) + QStringLiteral(" ") +
           locale.toString(when.time(), ResultTimeFormat(locale));
}

} // namespace treadkey
