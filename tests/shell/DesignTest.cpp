#include "AppFixture.h"

#include "app/DesignState.h"
#include "app/DialogHeader.h"
#include "app/OptionsForm.h"
#include "shell/DesignApplier.h"
#include "shell/DesignForm.h"
#include "shell/MainFormLayout.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>

using namespace Velmora;
using namespace Velmora::Testing;

class Designs : public AppFixture {
protected:
    void SetUp() override
    {
        existingProfile();
        ASSERT_TRUE(start());
        QApplication::processEvents();
    }
    DesignApplier &applier() { return main().designApplier(); }
    DesignForm &chooser() { return *starter->dialogs().design; }
    QString skin(const QString &file) const { return programFolder() + QStringLiteral("skins/") + file; }
};

namespace {

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 12 && std::abs(qGreen(a) - qGreen(b)) <= 12 && std::abs(qBlue(a) - qBlue(b)) <= 12;
}

} // namespace

TEST_F(Designs, EachDesignPutsItsPicturesBehindItsAreasAndSetsItsMenuStyle)
{
    struct Case {
        const char *design;
        DesignApplier::MenuStyle menuStyle;
    };
    const Case cases[] = {
        {"Office2003Blue", DesignApplier::MenuStyle::Blue},
        {"Office2003Silver", DesignApplier::MenuStyle::Silver},
        {"Office2003Olive", DesignApplier::MenuStyle::Olive},
        {"Aluminium", DesignApplier::MenuStyle::Silver},
        {"Gold", DesignApplier::MenuStyle::Olive},
    };
    // A spot of the main toolbar bar right of its buttons shows the picture itself.
    QWidget *bar = w().mainControlBar;
    const QPoint spot(bar->width() - 20, bar->height() / 2);
    QList<QRgb> seen;
    for (const Case &c : cases) {
        const QString design = QString::fromLatin1(c.design);
        context().design.setName(design);
        for (QWidget *area : applier().controlBarAreas())
            EXPECT_EQ(applier().pictureFileOf(area), skin(QStringLiteral("ControlBar_") + design + QStringLiteral(".bmp")))
                << c.design << ' ' << area->objectName().toStdString();
        for (QWidget *area : applier().filterBarAreas())
            EXPECT_EQ(applier().pictureFileOf(area), skin(QStringLiteral("FilterBar_") + design + QStringLiteral(".bmp")))
                << c.design << ' ' << area->objectName().toStdString();
        EXPECT_EQ(applier().menuStyle(), c.menuStyle) << c.design;
        EXPECT_EQ(DesignApplier::menuStyleFor(design), c.menuStyle);

        const QImage picture(skin(QStringLiteral("ControlBar_") + design + QStringLiteral(".bmp")));
        ASSERT_FALSE(picture.isNull());
        const QRgb expected = picture.pixel(picture.width() * spot.x() / bar->width(), picture.height() * spot.y() / bar->height());
        const QRgb shown = bar->grab().toImage().pixel(spot * bar->devicePixelRatioF());
        EXPECT_TRUE(near(shown, expected)) << c.design << std::hex << " shown " << shown << " picture " << expected;
        seen.append(shown);
    }
    EXPECT_FALSE(near(seen[0], seen[4])); // blue and gold look different
    const QList<QWidget *> controlAreas = applier().controlBarAreas();
    EXPECT_TRUE(controlAreas.contains(w().localToolBar) && controlAreas.contains(w().serverToolBar)
                && controlAreas.contains(w().queuePanel) && controlAreas.contains(w().localStatusLabel)
                && controlAreas.contains(w().serverStatusLabel) && controlAreas.contains(w().chartsPanel));
    const QList<QWidget *> filterAreas = applier().filterBarAreas();
    EXPECT_TRUE(filterAreas.contains(w().progressPanel) && filterAreas.contains(w().chartsClosePanel)
                && filterAreas.contains(w().localButtonsPanel) && filterAreas.contains(w().serverButtonsPanel)
                && filterAreas.contains(w().filterPanel));
}

TEST_F(Designs, MissingPictureKeepsThePreviousOneAndIsReported)
{
    context().design.setName(QStringLiteral("Gold"));
    DesignApplier elsewhere(applier().areas(), *main().menuBar(), env.root() + QStringLiteral("nowhere/"));
    const QStringList missing = elsewhere.apply(QStringLiteral("Aluminium"));
    EXPECT_EQ(missing, (QStringList{env.root() + QStringLiteral("nowhere/skins/ControlBar_Aluminium.bmp"),
                                    env.root() + QStringLiteral("nowhere/skins/FilterBar_Aluminium.bmp")}));
    EXPECT_TRUE(elsewhere.pictureFileOf(w().mainControlBar).isEmpty());
    EXPECT_EQ(applier().pictureFileOf(w().mainControlBar), skin(QStringLiteral("ControlBar_Gold.bmp")));
}

TEST_F(Designs, ChooserChecksTheCurrentDesignAndOkAppliesTheChosenOne)
{
    context().design.setName(QStringLiteral("Office2003Olive"));
    w().designAction->trigger();
    ASSERT_TRUE(chooser().isVisible());
    EXPECT_TRUE(chooser().radioButtonOf(QStringLiteral("Office2003Olive"))->isChecked());
    EXPECT_EQ(chooser().header()->title(), QStringLiteral("Design"));
    EXPECT_EQ(chooser().designGroup()->title(), QStringLiteral("Design"));

    chooser().radioButtonOf(QStringLiteral("Aluminium"))->setChecked(true);
    chooser().abortButton()->click();
    EXPECT_FALSE(chooser().isVisible());
    EXPECT_EQ(context().design.name(), QStringLiteral("Office2003Olive"));

    w().designAction->trigger();
    EXPECT_TRUE(chooser().radioButtonOf(QStringLiteral("Office2003Olive"))->isChecked());
    chooser().radioButtonOf(QStringLiteral("Gold"))->setChecked(true);
    chooser().okButton()->click();
    EXPECT_FALSE(chooser().isVisible());
    EXPECT_EQ(context().design.name(), QStringLiteral("Gold"));
    EXPECT_EQ(applier().pictureFileOf(w().progressPanel), skin(QStringLiteral("FilterBar_Gold.bmp")));
    EXPECT_EQ(applier().menuStyle(), DesignApplier::MenuStyle::Olive);

    // The next dialog shown wears the new header picture.
    OptionsForm *options = starter->dialogs().options;
    options->show();
    EXPECT_TRUE(options->header()->hasPicture());
    EXPECT_EQ(DialogHeader::picturePath(context().folders.programFolder, context().design.name()),
              skin(QStringLiteral("Small_Head_Gold.bmp")));
    options->hide();
}

TEST_F(Designs, ChooserCaptionsInBothLanguages)
{
    const QStringList names = DesignState::names();
    const QStringList english{QStringLiteral("Office2003 Blue"), QStringLiteral("Office2003 Silver"),
                              QStringLiteral("Office2003 Olive"), QStringLiteral("Aluminium"), QStringLiteral("Gold")};
    const QStringList german{QStringLiteral("Office2003 Blau"), QStringLiteral("Office2003 Silber"),
                             QStringLiteral("Office2003 Olive"), QStringLiteral("Aluminium"), QStringLiteral("Gold")};
    for (qsizetype i = 0; i < names.size(); ++i)
        EXPECT_EQ(chooser().radioButtonOf(names[i])->text(), english[i]);
    EXPECT_EQ(chooser().abortButton()->text(), QStringLiteral("Abort"));
    main().SetLanguage(Language::German);
    for (qsizetype i = 0; i < names.size(); ++i)
        EXPECT_EQ(chooser().radioButtonOf(names[i])->text(), german[i]);
    EXPECT_EQ(chooser().abortButton()->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(chooser().okButton()->text(), QStringLiteral("OK"));
}

TEST_F(Designs, ChosenDesignIsUsedAtTheNextStart)
{
    w().designAction->trigger();
    chooser().radioButtonOf(QStringLiteral("Office2003Silver"))->setChecked(true);
    chooser().okButton()->click();
    starter->layout().SaveLayout();
    starter->mainForm()->endFromRun();
    starter.reset();

    ASSERT_TRUE(start());
    EXPECT_EQ(context().design.name(), QStringLiteral("Office2003Silver"));
    EXPECT_EQ(applier().pictureFileOf(w().mainControlBar), skin(QStringLiteral("ControlBar_Office2003Silver.bmp")));
    EXPECT_EQ(applier().menuStyle(), DesignApplier::MenuStyle::Silver);
}
