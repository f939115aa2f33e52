#include "Editing.h"

#include "CategoryPage.h"
#include "Dialogs.h"

namespace {

// Tells the teacher why the category refused an edit; false when it did.
bool accepted(const EditResult &result, Dialogs &dialogs, const QString &nothingSelected)
{
    switch (result.refusal) {
    case EditRefusal::None:
        return true;
    case EditRefusal::Full:
        dialogs.inform(appTitle(), QStringLiteral("例文は各項目ごと最大300例までです。これ以上追加できません。"),
                       Dialogs::Icon::Warning);
        break;
    case EditRefusal::Unstorable:
        dialogs.inform(appTitle(),
                       QStringLiteral("次の文字は例文データファイルに保存できません：") + result.characters.join(QString())
                           + QStringLiteral("\n別の文字に置き換えてください。"),
                       Dialogs::Icon::Warning);
        break;
    case EditRefusal::NothingSelected:
        dialogs.inform(appTitle(), nothingSelected, Dialogs::Icon::Information);
        break;
    }
    return false;
}

} // namespace

bool addExample(CategoryPage &page, Dialogs &dialogs, const std::function<void()> &refillAll)
{
    const Example example = page.typedExample();
    if (!accepted(page.category().add(example), dialogs, QString()))
        return false;
    refillAll();
    page.narrowToClasses(example);
    page.showSentence(example.sentence());
    return true;
}

bool correctExample(CategoryPage &page, Dialogs &dialogs)
{
    const EditResult result = page.category().correct(page.shownRecord(), page.typedExample().sentence());
    return accepted(result, dialogs, QStringLiteral("訂正する例文を一覧から選んでください。"));
}

int deleteExample(CategoryPage &page, Dialogs &dialogs)
{
    if (page.shownRecord() == 0) {
        dialogs.inform(appTitle(), QStringLiteral("削除する例文を一覧から選んでください。"),
                       Dialogs::Icon::Information);
        return 0;
    }
    if (!dialogs.ask(QStringLiteral("確認"), QStringLiteral("この例文を削除していいですか？"),
                     Dialogs::Icon::Question, true))
        return 0;
    const EditResult result = page.category().remove(page.shownRecord());
    page.narrowTo(result.record);
    return result.record;
}
