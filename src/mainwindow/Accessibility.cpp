#include "Accessibility.h"

#include "AccessibleNames.h"
#include "CategoryPage.h"
#include "SimpleCombo.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>

namespace {

// The controls each category has once: named alike, since only one set is visible at a time;
// the descriptions say which category they belong to.
void nameCategoryControls(QWidget *form, const CategoryLook &traits)
{
    // The option button is announced by its caption, the title its data file gives.
    auto *option = form->findChild<QAbstractButton *>(QStringLiteral("Option1_%1").arg(traits.index));
    if (!option)
        return;
    const QString category = option->text();
    option->setAccessibleDescription(QStringLiteral("例文集「%1」に切り替えます。").arg(category));

    static const char *const levelRoles[3] = {
        "選ぶと、その下の第2分類が並びます。",
        "選ぶと、その下の第3分類と例文が並びます。",
        "選ぶと、その分類の例文が例文一覧に並びます。",
    };
    for (int level = 0; level < 3; ++level) {
        auto *combo = form->findChild<SimpleCombo *>(traits.comboNames[level]);
        if (!combo)
            continue;
        const QString name = QStringLiteral("第%1分類").arg(level + 1);
        const QString role = QStringLiteral("「%1」の例文の%2。").arg(category, name)
                             + QString::fromUtf8(levelRoles[level]);
        nameControl(combo, name, role);
        nameControl(combo->lineEdit(), name + QStringLiteral("の入力欄"),
                    role + QStringLiteral("例文を追加するときは、ここに分類を入力します。"));
        nameControl(combo->listWidget(), name + QStringLiteral("の一覧"), role);
    }
    if (auto *list = form->findChild<QWidget *>(traits.listName))
        nameControl(list, QStringLiteral("例文一覧"),
                    QStringLiteral("選んだ分類の例文の書き出し。選ぶと、例文の全文が例文の欄に出ます。"));
    if (auto *text = form->findChild<QWidget *>(traits.textName))
        nameControl(text, QStringLiteral("例文"),
                    QStringLiteral("選んだ例文の全文。手直しして「決定」で所見文に加えたり、"
                                   "「例文訂正」「例文追加」で例文集に記憶したりできます。"));
    if (auto *label = form->findChild<QLabel *>(traits.labelName))
        nameValueLabel(label, QStringLiteral("例文数"),
                       QStringLiteral("「%1」の、今の分類に入っている例文の数。").arg(category));
}

} // namespace

void nameMainWindowControls(QWidget *form)
{
    for (const CategoryLook &traits : categoryLooks())
        nameCategoryControls(form, traits);

    nameControls(form, {
        {"Frame1", QStringLiteral("例文の選択"), QStringLiteral("例文集と分類を選び、例文を選んで手直しするところ。")},
        {"Label1", QStringLiteral("例文数"), QString()},
        {"CmdDelete", QStringLiteral("例文削除"), QStringLiteral("表示している例文を例文集から削除します。")},
        {"CmdEdit", QStringLiteral("例文訂正"), QStringLiteral("表示している例文を、例文の欄の文章に書きかえます。")},
        {"CmdAdd1", QStringLiteral("例文追加"),
         QStringLiteral("三つの分類の欄と例文の欄の内容を、新しい例文として例文集に加えます。")},
        {"CmdBack", QStringLiteral("前文"), QStringLiteral("例文集の一つ前の例文を表示します。")},
        {"CmdNext", QStringLiteral("次文"), QStringLiteral("例文集の一つ後の例文を表示します。")},
        {"CmdKettei1", QStringLiteral("決定"), QStringLiteral("例文の欄の文章を所見文の最後に加えます。")},
        {"Text1", QStringLiteral("所見文"),
         QStringLiteral("例文を集めて作る所見の文章。自由に書きかえられます。保存はされません。")},
        {"CmdClear", QStringLiteral("文章消去"), QStringLiteral("所見文をすべて消します。")},
        {"CmdCopy", QStringLiteral("文章をコピー"),
         QStringLiteral("所見文を、選んだ部分があればその部分を、クリップボードにコピーします。")},
        {"mnuFile", QStringLiteral("ファイル"), QString()},
        {"mnuEdit", QStringLiteral("編集"), QString()},
        {"mnuMozi", QStringLiteral("文字の大きさ"), QString()},
        {"mnuClass", QStringLiteral("学級"), QString()},
        {"mnuHelp", QStringLiteral("ヘルプ"), QString()},
    });
    if (auto *count = form->findChild<QLabel *>(QStringLiteral("LabelCount")))
        nameValueLabel(count, QStringLiteral("文字数"), QStringLiteral("所見文の文字数。"));
    if (auto *client = form->findChild<QWidget *>(QStringLiteral("client")))
        nameControl(client, QStringLiteral("所見作成"));
    if (auto *menuBar = form->findChild<QMenuBar *>())
        nameControl(menuBar, QStringLiteral("メニュー"));
}
