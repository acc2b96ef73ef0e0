#include "msarender/picture/SchemeFile.h"

#include <QColor>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <array>
#include <boost/make_shared.hpp>

#include "sdm/schemes/TableColorScheme.h"

namespace {

constexpr qint64 kMaxSchemeBytes = 1 << 20;

class FileColorScheme : public SDM::ColorScheme {
public:
    explicit FileColorScheme(std::string schemeName) : schemeName(std::move(schemeName)) {
        table.fill(SDM::Uncolored());
    }
    std::string name() const override { return schemeName; }
    SDM::ResidueColors colorsAt(char code, unsigned) const override {
        const unsigned char index = static_cast<unsigned char>(code);
        return index < table.size() ? table[index] : SDM::Uncolored();
    }
    void Set(QChar letter, const SDM::ResidueColors& colours) {
        table[std::size_t(letter.toUpper().toLatin1())] = colours;
        table[std::size_t(letter.toLower().toLatin1())] = colours;
    }

private:
    std::string schemeName;
    std::array<SDM::ResidueColors, 128> table;
};

Common::Color ColourOf(const QColor& colour) {
    return Common::Color(std::uint8_t(colour.red()), std::uint8_t(colour.green()),
                         std::uint8_t(colour.blue()));
}

// The words of a line before its comment: a '#' at the start or followed by a space or the line's end.
QStringList RuleWords(const QString& line) {
    static const QRegularExpression comment(QStringLiteral("(^\\s*#|#(\\s|$)).*$"));
    return QString(line).remove(comment).split(QRegularExpression(QStringLiteral("\\s+")),
                                               Qt::SkipEmptyParts);
}

QString CheckColour(const QString& word) {
    return QColor::isValidColorName(word)
               ? QString()
               : QStringLiteral("'%1' is no colour (use a name such as red, or #rrggbb)").arg(word);
}

// An error for a bad rule, else empty with the rule applied.
QString ApplyRule(const QStringList& words, FileColorScheme& scheme) {
    static const QRegularExpression letters(QStringLiteral("^[A-Za-z*]+$"));
    if (words.size() < 2) return QStringLiteral("needs LETTERS BACKGROUND [TEXT], such as 'KR red white'");
    if (words.size() > 3)
        return QStringLiteral("'%1' after the colours: a rule is LETTERS BACKGROUND [TEXT]").arg(words[3]);
    if (!letters.match(words[0]).hasMatch())
        return QStringLiteral("'%1' is not a word of residue letters").arg(words[0]);
    for (const QString& colour : words.mid(1))
        if (QString error = CheckColour(colour); !error.isEmpty()) return error;
    const Common::Color background = ColourOf(QColor(words[1]));
    const Common::Color text =
        words.size() > 2 ? ColourOf(QColor(words[2])) : SDM::ContrastingText(background);
    for (QChar letter : words[0]) scheme.Set(letter, SDM::ResidueColors{background, text});
    return QString();
}

}  // namespace

SchemeFile ParseSchemeFile(const QString& text, const QString& name) {
    SchemeFile result;
    auto scheme = boost::make_shared<FileColorScheme>(name.toStdString());
    const QStringList lines = text.split(QLatin1Char('\n'));
    int rules = 0;
    for (int number = 0; number < lines.size(); ++number) {
        const QStringList words = RuleWords(lines[number]);
        if (words.isEmpty()) continue;
        if (QString error = ApplyRule(words, *scheme); !error.isEmpty()) {
            result.error = QStringLiteral("%1:%2: %3").arg(name).arg(number + 1).arg(error);
            return result;
        }
        ++rules;
    }
    if (rules == 0) {
        result.error = name + QStringLiteral(": no colour rules (a line such as 'KR red white')");
        return result;
    }
    result.scheme = scheme;
    return result;
}

SchemeFile ReadSchemeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {nullptr, path + ": cannot read: " + file.errorString()};
    if (file.size() > kMaxSchemeBytes)
        return {
            nullptr,
            path + QStringLiteral(": more than %1 bytes: no colour scheme is so long").arg(kMaxSchemeBytes)};
    return ParseSchemeFile(QString::fromUtf8(file.readAll()), path);
}
