#include "CheckSettings.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

struct KindName {
    CheckKind kind;
    const char *key;     // in the class file
    const char *caption; // in the settings dialog
};

const KindName KindNames[] = {
    {CheckKind::FieldLimit, "field-limit", "欄の字数の上限"},
    {CheckKind::Empty, "empty", "未記入の欄"},
    {CheckKind::Duplicate, "duplicate", "ほかの児童・生徒と同じ文"},
    {CheckKind::Placeholder, "placeholder", "残った「〇〇」"},
    {CheckKind::HalfWidthKana, "half-width-kana", "半角カタカナ"},
    {CheckKind::Wording, "wording", "表記ルール（かなで書く言葉、否定的に読める表現も）"},
    {CheckKind::Style, "style", "文体（敬体・常体）"},
    {CheckKind::RepeatedEnding, "repeated-ending", "同じ文末が三つ以上続く文"},
    {CheckKind::SentenceLength, "sentence-length", "長すぎる文"},
    {CheckKind::Kanji, "kanji", "常用漢字表にない漢字、まだ習っていない漢字"},
    {CheckKind::Variants, "variants", "学級の中の表記のゆれ（子ども／子供など）"},
    {CheckKind::Names, "names", "ほかの児童・生徒の名前、呼び方のちがい"},
};

const struct {
    WritingStyle style;
    const char *key;
    const char *caption;
} StyleNames[] = {
    {WritingStyle::Polite, "polite", "敬体（です・ます）"},
    {WritingStyle::Plain, "plain", "常体（だ・である）"},
    {WritingStyle::Consistent, "consistent", "どちらでもよい（一つの文章の中でまぜない）"},
};

const QString ChecksKey = QStringLiteral("checks");

bool isWholeNumber(const QJsonValue &value, int minimum, int maximum)
{
    const double number = value.toDouble(-1);
    return value.isDouble() && number == double(int(number)) && number >= minimum && number <= maximum;
}

} // namespace

QList<CheckKind> checkKinds()
{
    QList<CheckKind> kinds;
    for (const KindName &name : KindNames)
        kinds.append(name.kind);
    return kinds;
}

QString checkKindCaption(CheckKind kind)
{
    for (const KindName &name : KindNames) {
        if (name.kind == kind)
            return QString::fromUtf8(name.caption);
    }
    return {};
}

QString writingStyleCaption(WritingStyle style)
{
    for (const auto &name : StyleNames) {
        if (name.style == style)
            return QString::fromUtf8(name.caption);
    }
    return {};
}

QString gradeCaption(int grade)
{
    if (grade == JuniorHighGrade)
        return QStringLiteral("中学");
    if (grade >= 1 && grade <= 6)
        return QStringLiteral("%1年").arg(grade);
    return QStringLiteral("指定しない");
}

void writeCheckSettings(QJsonObject &root, const CheckSettings &settings)
{
    QJsonObject checks;
    for (const auto &name : StyleNames) {
        if (name.style == settings.style)
            checks.insert(QStringLiteral("style"), QLatin1String(name.key));
    }
    checks.insert(QStringLiteral("sentenceLimit"), settings.sentenceLimit);
    checks.insert(QStringLiteral("grade"), settings.grade);
    QJsonArray off;
    for (const KindName &name : KindNames) {
        if (!settings.isOn(name.kind))
            off.append(QLatin1String(name.key));
    }
    checks.insert(QStringLiteral("off"), off);
    root.insert(ChecksKey, checks);
}

bool readCheckSettings(const QJsonObject &root, CheckSettings *settings, QString *what)
{
    *settings = CheckSettings();
    const QJsonValue value = root.value(ChecksKey);
    if (value.isUndefined())
        return true;
    *what = QStringLiteral("点検の設定");
    if (!value.isObject())
        return false;
    const QJsonObject checks = value.toObject();
    const QJsonValue style = checks.value(QStringLiteral("style"));
    if (!style.isUndefined()) {
        bool known = false;
        for (const auto &name : StyleNames) {
            if (style.toString() == QLatin1String(name.key)) {
                settings->style = name.style;
                known = true;
            }
        }
        if (!known)
            return false;
    }
    const QJsonValue limit = checks.value(QStringLiteral("sentenceLimit"));
    const QJsonValue grade = checks.value(QStringLiteral("grade"));
    if (!(limit.isUndefined() || isWholeNumber(limit, 0, MaxSentenceLimit))
        || !(grade.isUndefined() || isWholeNumber(grade, NoGrade, JuniorHighGrade)))
        return false;
    settings->sentenceLimit = limit.toInt(DefaultSentenceLimit);
    settings->grade = grade.toInt(NoGrade);
    const QJsonValue off = checks.value(QStringLiteral("off"));
    if (!off.isUndefined() && !off.isArray())
        return false;
    // A kind this version does not know is one it does not check anyway.
    for (const QJsonValue &key : off.toArray()) {
        for (const KindName &name : KindNames) {
            if (key.toString() == QLatin1String(name.key))
                settings->setOn(name.kind, false);
        }
    }
    what->clear();
    return true;
}
