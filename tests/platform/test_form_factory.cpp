#include "platform/form_factory.h"

#include <QDialog>
#include <QLineEdit>
#include <QTest>

// A modeless form whose field starts empty each time it is made. Outside an
// anonymous namespace: moc defines its meta-object functions by their class name.
class SampleForm : public QDialog
{
    Q_OBJECT

public:
    explicit SampleForm(QWidget* parent) : QDialog(parent), field(new QLineEdit(this)) {}
    QLineEdit* field;
};

class TestFormFactory : public QObject
{
    Q_OBJECT

private slots:
    void modelessFormExistsOnceWhileOpen();
    void modalFormBelongsToTheOwner();
};

void TestFormFactory::modelessFormExistsOnceWhileOpen()
{
    QWidget owner;
    FormFactory forms(&owner);
    QCOMPARE(forms.openForm<SampleForm>(), nullptr);

    const auto [first, made] = forms.showModeless<SampleForm>();
    QVERIFY(made);
    QVERIFY(first->isVisible());
    QCOMPARE(first->parentWidget(), &owner);
    first->field->setText(QStringLiteral("typed"));

    const auto [again, madeAgain] = forms.showModeless<SampleForm>();
    QVERIFY(!madeAgain);
    QCOMPARE(again, first);
    QCOMPARE(again->field->text(), QStringLiteral("typed")); // raised, not reloaded
    QCOMPARE(owner.findChildren<SampleForm*>().size(), 1);

    QPointer<SampleForm> closed(first);
    first->close();
    QTRY_VERIFY(closed.isNull()); // closing deletes it
    QCOMPARE(forms.openForm<SampleForm>(), nullptr);

    const auto [fresh, madeFresh] = forms.showModeless<SampleForm>();
    QVERIFY(madeFresh);
    QCOMPARE(fresh->field->text(), QString());

    // Closed and chosen again before the closed one is gone: a new one, which stays.
    fresh->close();
    const auto [reopened, madeAfterClose] = forms.showModeless<SampleForm>();
    QVERIFY(madeAfterClose);
    QCOMPARE_NE(reopened, fresh);
    QPointer<SampleForm> kept(reopened);
    QTest::qWait(20);
    QVERIFY(!kept.isNull());
    QCOMPARE(forms.openForm<SampleForm>(), reopened);
    reopened->close();
}

void TestFormFactory::modalFormBelongsToTheOwner()
{
    QWidget owner;
    FormFactory forms(&owner);
    {
        const std::unique_ptr<SampleForm> form = forms.makeModal<SampleForm>();
        QCOMPARE(form->parentWidget(), &owner);
        QVERIFY(form->isWindow());
        QCOMPARE(forms.openForm<SampleForm>(), nullptr); // modal forms are not kept
    }
    QVERIFY(owner.findChildren<SampleForm*>().isEmpty());
}

QTEST_MAIN(TestFormFactory)
#include "test_form_factory.moc"
