#include "subsystems/tools/about_box.h"

#include "platform/classic_look.h"
#include "platform/never_minimized.h"
#include "platform/program_resources.h"
#include "platform/twips.h"
#include "platform/window_flags.h"

#include <QLabel>
#include <QPushButton>

namespace {

// Our own lines under the product name.
const QString AboutText = QStringLiteral(
    "A Small Note Taker For Short Notes,\n"
    "Address Lists And To-Do Lists.\n"
    "\n"
    "Plain-Text Notes, One Click Away,\n"
    "With Stamps, Snippets And A Stopwatch.\n"
    "\n"
    "For Linux Desktops, Built With Qt 6.");

void AddPicture(QWidget* parent, const QString& resource, const QString& name, const QRect& pixels)
{
    auto* picture = new QLabel(parent);
    picture->setPixmap(QPixmap(resource).scaled(pixels.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picture->setGeometry(pixels);
    picture->setAccessibleName(name);
}

} // namespace

Form4::Form4(QWidget* parent)
    : QDialog(parent, CloseOnlyDialogFlags)
    , m_product(new QLabel(QStringLiteral("Scriblet [tm] v2.0"), this))
    , m_text(new QLabel(AboutText, this))
    , m_button(new QPushButton(QStringLiteral("&Thank You For Trying Scriblet !!"), this))
{
    const Twips twips = Twips::forWidget(*this);
    setObjectName(QStringLiteral("Form4"));
    KeepFromMinimizing(*this);
    EnsureProgramResources();
    setWindowTitle(QStringLiteral("About Scriblet"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/scriblet.png")));
    setFont(ArialBoldFont(8.25));
    ApplyClassicGrey(*this);
    move(twips.toPixels(600), twips.toPixels(2760));
    // The outer size is 7140 x 3585 twips; the client area holds the button's lower edge.
    setFixedSize(twips.toPixels(7050), twips.toPixels(3525));

    const QString icon = QStringLiteral(":/icons/scriblet.png");
    const QString note = QStringLiteral(":/icons/about-note.png");
    AddPicture(this, icon, QStringLiteral("Scriblet Icon"), twips.toPixels(210, 240, 480, 480));
    AddPicture(this, icon, QStringLiteral("Scriblet Icon"), twips.toPixels(6405, 210, 480, 480));
    AddPicture(this, note, QStringLiteral("Note Picture"), twips.toPixels(735, 1785, 480, 480));
    AddPicture(this, note, QStringLiteral("Note Picture"), twips.toPixels(5985, 1785, 480, 480));

    const QFont text = ArialBoldFont(9.75);
    m_product->setObjectName(QStringLiteral("Label1"));
    m_product->setFont(text);
    m_product->setAlignment(Qt::AlignCenter);
    m_product->setGeometry(twips.toPixels(1470, 240, 4110, 255));
    m_text->setFont(text);
    m_text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_text->setGeometry(twips.toPixels(1215, 525, 4770, 2220));
    FitCaptionToWidth(*m_text, AboutText);
    m_button->setObjectName(QStringLiteral("Command1"));
    m_button->setFont(text);
    m_button->setGeometry(twips.toPixels(210, 2940, 6735, 495));
    m_button->setDefault(true);
    connect(m_button, &QPushButton::clicked, this, &QDialog::accept);
}
