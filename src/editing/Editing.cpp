#include "Editing.h"

#include "CategoryPage.h"
#include "Codec.h"
#include "Dialogs.h"
#include "SimpleCombo.h"
#include "TextBox.h"

#include <QStringList>

namespace {

// The characters the data file cannot carry: a double quote would end the field early,
// and some characters have no code in the file's encoding.
QString unstorableCharacters(const QStringList &texts, Encoding encoding)
{
    QString found;
    for (const QString &text : texts) {
        if (text.contains(u'"') && !found.contains(u'"'))
            found += u'"';
        const QString unencodable = unencodableCharacters(text, encoding);
        for (qsizetype i = 0; i < unencodable.size(); ++i) {
            const qsizetype length = unencodable[i].isHighSurrogate() && i + 1 < unencodable.size() ? 2 : 1;
            const QString character = unencodable.mid(i, length);
            if (!found.contains(character))
                found += character;
            i += length - 1;
        }
    }
    return found;
}

bool refuseUnstorable(const QStringList &texts, Encoding encoding, Dialogs &dialogs)
{
    const QString characters = unstorableCharacters(texts, encoding);
    if (characters.isEmpty())
        return false;
    dialogs.inform(appTitle(),
                   QStringLiteral("次の文字は例文データファイルに保存できません：") + characters
                       + QStringLiteral("\n別の文字に置き換えてください。"),
                   Dialogs::Icon::Warning);
    return true;
}

} // namespace

bool addExample(CategoryPage &page, Dialogs &dialogs, const std::function<void()> &refillAll)
{
    Example example;
    for (int level = 0; level < 3; ++level)
        example.field[level] = page.combo[level]->text();
    example.field[3] = page.text->text();

    if (page.data.max >= EDLimit) {
        dialogs.inform(appTitle(), QStringLiteral("例文は各項目ごと最大300例までです。これ以上追加できません。"),
                       Dialogs::Icon::Warning);
        return false;
    }
    const QStringList texts(example.field.begin(), example.field.end());
    if (refuseUnstorable(texts, page.origin.encoding, dialogs))
        return false;

    page.data.max += 1;
    page.data.row(page.data.max) = example;
    refillAll();
    page.narrowToClasses(example);
    page.text->setText(example.sentence());
    return true;
}

bool correctExample(CategoryPage &page, Dialogs &dialogs)
{
    if (!page.hasShownExample()) {
        dialogs.inform(appTitle(), QStringLiteral("訂正する例文を一覧から選んでください。"),
                       Dialogs::Icon::Information);
        return false;
    }
    const QString sentence = page.text->text();
    if (refuseUnstorable({sentence}, page.origin.encoding, dialogs))
        return false;
    page.data.row(page.shownRecord()).field[3] = sentence;
    return true;
}

int deleteExample(CategoryPage &page, Dialogs &dialogs)
{
    if (!page.hasShownExample()) {
        dialogs.inform(appTitle(), QStringLiteral("削除する例文を一覧から選んでください。"),
                       Dialogs::Icon::Information);
        return 0;
    }
    if (!dialogs.ask(QStringLiteral("確認"), QStringLiteral("この例文を削除していいですか？"),
                     Dialogs::Icon::Question, true))
        return 0;

    ExampleTable &data = page.data;
    const int removed = page.shownRecord();
    for (int i = removed + 1; i <= data.max; ++i)
        data.row(i - 1) = data.row(i);
    // The only example of a category stays: the count never drops below one.
    data.max = qMax(data.max - 1, 1);
    const int shown = qMax(page.current - 1, 1);
    page.narrowTo(shown);
    return shown;
}
