#include "StarterRules.h"

#include "Backup.h"
#include "Codec.h"
#include "SafeSave.h"
#include "StarterRulesData.h"
#include "WordingRules.h"

#include <QFileInfo>
#include <QSet>

namespace {

struct Section {
    QStringList lines;
    QStringList rulesWritten; // ×表記 of each rule line, in the section's order
};

// The starter cut at its blank lines; the opening comment, which holds no rule, is no section.
QList<Section> starterSections()
{
    QList<Section> sections;
    Section current;
    const QStringList lines = starterWordingRules().split(u'\n');
    for (const QString &raw : lines) {
        const QString line = raw.endsWith(u'\r') ? raw.chopped(1) : raw;
        if (line.trimmed().isEmpty()) {
            if (!current.rulesWritten.isEmpty())
                sections.append(current);
            current = Section();
            continue;
        }
        current.lines.append(line);
        if (!line.startsWith(u'#'))
            current.rulesWritten.append(line.section(u'\t', 0, 0).trimmed());
    }
    if (!current.rulesWritten.isEmpty())
        sections.append(current);
    return sections;
}

StarterFileChange failed(const QString &error)
{
    StarterFileChange change;
    change.error = error;
    return change;
}

} // namespace

QString starterWordingRules() { return QString::fromUtf8(StarterRulesText); }

StarterAddition starterAdditions(const QString &teacherText)
{
    QSet<QString> lines;
    QSet<QString> ruled;
    const WordingRules teacher = parseWordingRules(teacherText);
    for (const WordingRule &rule : teacher.rules)
        ruled.insert(rule.written());
    for (const QString &line : teacherText.split(u'\n'))
        lines.insert(line.trimmed());

    StarterAddition addition;
    for (const Section &section : starterSections()) {
        const QString heading = section.lines.first().trimmed();
        if (!heading.startsWith(u'#') || lines.contains(heading))
            continue;
        QStringList kept;
        int rules = 0;
        for (const QString &line : section.lines) {
            if (!line.startsWith(u'#')) {
                // Compared as the parser reads it, so 「［る］事」 and 「[る]事」 are one rule.
                const WordingRules one = parseWordingRules(line);
                if (!one.rules.isEmpty() && ruled.contains(one.rules.first().written()))
                    continue;
                ++rules;
            }
            kept.append(line);
        }
        if (rules == 0)
            continue;
        addition.sections.append(heading.mid(1).trimmed());
        addition.sectionRules.append(rules);
        addition.ruleCount += rules;
        addition.text += u'\n' + kept.join(u'\n') + u'\n';
    }
    return addition;
}

StarterFileChange previewStarterSections(const QString &path)
{
    StarterFileChange change;
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
        change.ok = true;
        change.created = true;
        change.added = starterAdditions(QString());
        return change;
    }
    const std::optional<QByteArray> bytes = currentBytes(path);
    if (!bytes)
        return failed(QStringLiteral("%1 を読めません。").arg(QFileInfo(path).fileName()));
    change.ok = true;
    change.added = starterAdditions(decodeDataFile(*bytes).text);
    return change;
}

StarterFileChange addStarterSections(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    StarterFileChange change = previewStarterSections(path);
    if (!change.ok)
        return change;
    if (change.created) {
        const SaveResult saved = writeFileSafely(path, starterWordingRules().toUtf8());
        return saved.ok ? change : failed(QStringLiteral("%1 を作れませんでした。%2").arg(name, saved.error));
    }
    if (change.added.isEmpty())
        return change;
    const QByteArray before = *currentBytes(path);
    const DecodedText decoded = decodeDataFile(before);
    // A file of plain ASCII reads as code page 932; the rules file is UTF-8 unless it says otherwise.
    Encoding encoding = decoded.encoding;
    if (encoding == Encoding::Cp932 && !std::any_of(before.cbegin(), before.cend(), [](char c) { return c & 0x80; }))
        encoding = Encoding::Utf8;
    QString text = change.added.text;
    if (!decoded.text.isEmpty() && !decoded.text.endsWith(u'\n'))
        text.prepend(u'\n');
    if (decoded.text.contains(QStringLiteral("\r\n")))
        text.replace(u'\n', QStringLiteral("\r\n"));
    const EncodedText encoded = encodeFragment(text, encoding);
    if (!encoded.unencodable.isEmpty())
        return failed(QStringLiteral("%1 の文字コードでは書けない文字（%2）があるので、加えませんでした。")
                          .arg(name, encoded.unencodable));
    const BackupResult backup = backUpBeforeFirstChangeOfDay(path, before);
    if (!backup.ok)
        return failed(QStringLiteral("%1 の控えを作れなかったので、加えませんでした。%2").arg(name, backup.error));
    const SaveResult saved = writeFileSafely(path, before + encoded.bytes);
    if (!saved.ok)
        return failed(QStringLiteral("%1 に書き加えられませんでした。%2").arg(name, saved.error));
    return change;
}
