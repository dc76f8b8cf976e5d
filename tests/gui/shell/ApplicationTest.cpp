#include "ScriptedMessages.h"
#include "shell/AppError.h"
#include "shell/Application.h"

#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {
void Click(QPushButton &button)
{
    const QPointF at(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, at, button.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, button.mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    DeliverGuarded(&button, &press);
    DeliverGuarded(&button, &release);
}
} // namespace

TEST(Application, AnErrorEscapingAHandlerIsShownAndTheProgramGoesOn)
{
    struct Case {
        const char *what;
        std::function<void()> fail;
        QStringList shown;
    };
    const QList<Case> cases = {
        {"user error", [] { throw AppError(QStringLiteral("执行无参数无结果集命令时出现错误!\rdisk I/O error")); },
         {QStringLiteral("执行无参数无结果集命令时出现错误!\rdisk I/O error")}},
        {"abandoned", [] { Abort(); }, {}},
        {"other error", [] { throw std::runtime_error("bad_alloc"); }, {QStringLiteral("bad_alloc")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedMessages messages;
        QPushButton button(QStringLiteral("保存"));
        button.resize(80, 24);
        button.show();
        int clicks = 0;
        QObject::connect(&button, &QPushButton::clicked, [&] {
            if (++clicks == 1)
                c.fail();
        });
        EXPECT_NO_THROW(Click(button));
        EXPECT_EQ(messages.texts(), c.shown);
        if (!c.shown.isEmpty()) {
            EXPECT_EQ(messages.shown.first().kind, IMessageService::Kind::Error);
        }
        // The window still works after the failure.
        Click(button);
        EXPECT_EQ(clicks, 2);
        EXPECT_FALSE(button.isDown());
    }
}

TEST(Application, AHandlerThatFailsWhileTheErrorBoxIsOpenAddsNoSecondBox)
{
    // The box is modal, but windows behind it keep painting: a paint handler that always fails
    // would open box upon box.
    class PaintFailsAgain : public ScriptedMessages {
    public:
        QWidget *behind = nullptr;
        bool message(Kind kind, const QString &text, const QString &caption) override
        {
            ScriptedMessages::message(kind, text, caption);
            QEvent paint(QEvent::UpdateRequest);
            DeliverGuarded(behind, &paint);
            return true;
        }
    };
    class FailingWidget : public QWidget {
    protected:
        bool event(QEvent *e) override
        {
            if (e->type() == QEvent::UpdateRequest)
                throw AppError(QStringLiteral("绘制失败"));
            return QWidget::event(e);
        }
    };
    FailingWidget widget;
    PaintFailsAgain messages;
    messages.behind = &widget;
    QEvent paint(QEvent::UpdateRequest);
    EXPECT_FALSE(DeliverGuarded(&widget, &paint));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("绘制失败")});
    // Once the box is closed the next failure is shown again.
    DeliverGuarded(&widget, &paint);
    EXPECT_EQ(messages.shown.size(), 2);
}
