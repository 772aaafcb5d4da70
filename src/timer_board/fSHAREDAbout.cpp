#include "timer_board/fSHAREDAbout.h"
#include "platform/AppFacts.h"
#include "platform/Platform.h"
#include "support/Guard.h"
#include "support/MakerAddresses.h"
#include "support/cSHAREDSubs.h"
#include "support/cSharedWWW.h"
#include "timer_board/MakerLine.h"
#include "timer_board/TrayPictures.h"
#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <algorithm>
#include <QAccessibleWidget>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char* const kAdPages[4] = {"/alarms", "/stopwatch", "/notes", "/calendar"};
const char* const kAdTexts[4] = {"Alarms", "Stopwatch", "Notes", "Calendar"};
const QColor kAdColours[4] = {QColor(200, 80, 60), QColor(60, 140, 200), QColor(90, 160, 80), QColor(170, 110, 190)};

// Wide enough for its word in the desktop's font, however large.
QPixmap adTile(int index)
{
    const QString text = QString::fromLatin1(kAdTexts[index]);
    const QFontMetrics metrics(QApplication::font());
    QPixmap pixmap(std::max(80, metrics.horizontalAdvance(text) + 12), std::max(40, metrics.height() + 12));
    pixmap.fill(kAdColours[index]);
    QPainter p(&pixmap);
    p.setPen(Qt::white);
    p.setFont(QApplication::font());
    p.drawText(pixmap.rect(), Qt::AlignCenter, text);
    return pixmap;
}

// A link or a picture that opens a page is a label to Qt; a screen reader should meet a link it
// can follow. Its press is the key that opens it.
class AccessibleLink : public QAccessibleWidget {
public:
    explicit AccessibleLink(QLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
        if (action == pressAction())
            QCoreApplication::sendEvent(widget(), &space);
    }
};

QAccessibleInterface* linkFactory(const QString&, QObject* object)
{
    auto* label = qobject_cast<QLabel*>(object);
    if (label && label->property("link").toBool())
        return new AccessibleLink(label);
    return nullptr;
}

QLabel* pressable(QWidget* parent)
{
    static const bool links = (QAccessible::installFactory(linkFactory), true);
    Q_UNUSED(links);
    auto* label = new QLabel(parent);
    label->setProperty("link", true);  // before anything a listening screen reader sees
    return label;
}

QLabel* link(QWidget* parent, const QString& text, const QString& tip)
{
    auto* label = pressable(parent);
    label->setText("<a href=\"#\">" + text.toHtmlEscaped() + "</a>");
    label->setAccessibleName(text);
    label->setToolTip(tip);
    return label;
}

// A label that opens a page: Tab stops on it once, and Space or Enter opens the page.
void makeClickable(QLabel* label, QObject* filter)
{
    label->setCursor(Qt::PointingHandCursor);
    label->setFocusPolicy(Qt::StrongFocus);
    label->setStyleSheet("QLabel { border: 2px solid transparent; } QLabel:focus { border-color: palette(highlight); }");
    label->installEventFilter(filter);
}

bool isKeyActivation(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}
}

fSHAREDAbout::fSHAREDAbout(QWidget* owner) : QDialog(owner)
{
    setObjectName("fSHAREDAbout");
    setModal(true);
    picLogo = pressable(this);
    picLogo->setPixmap(TrayPictures::green().scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picLogo->setToolTip("Zelvo home page");
    // The pictures' words are painted into them: a screen reader needs them as names.
    picLogo->setAccessibleName("Zelvo logo, opens the home page");
    makeClickable(picLogo, this);
    lblversion = new QLabel(this);
    QFont big = lblversion->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    lblversion->setFont(big);
    lblHint = new QLabel("Hover the mouse over icons for details. Click icons to open in your browser.", this);
    lblHint->setWordWrap(true);
    lblHome = link(this, "Zelvo home page", "Visit the Zelvo home page");
    lblMore = link(this, "More programs from the maker", "See the maker's other programs");
    makeClickable(lblHome, this);
    makeClickable(lblMore, this);
    connect(lblHome, &QLabel::linkActivated, this, [this] { visit("/"); });
    connect(lblMore, &QLabel::linkActivated, this, [this] { visit("/programs"); });
    cmdNews = new QPushButton("News Widget", this);
    cmdNews->setToolTip("Read the maker's latest news");
    connect(cmdNews, &QPushButton::clicked, this, [this] { visit("/news"); });
    auto* ads = new QHBoxLayout;
    for (int k = 0; k < 4; ++k) {
        picAds[k] = pressable(this);
        picAds[k]->setPixmap(adTile(k));
        picAds[k]->setToolTip(QString::fromLatin1(kAdTexts[k]) + " from the maker of Zelvo");
        picAds[k]->setAccessibleName(picAds[k]->toolTip());
        makeClickable(picAds[k], this);
        ads->addWidget(picAds[k]);
    }
    cmdOK = new QPushButton("OK", this);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(picLogo);
    top->addWidget(lblversion, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdNews);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lblHint);
    layout->addWidget(lblHome);
    layout->addWidget(lblMore);
    layout->addLayout(ads);
    layout->addLayout(buttons);
    Form_Load();
}

void fSHAREDAbout::Form_Load()
{
    Guard g{"Form_Load", "fSHAREDAbout"};
    g([&] { setWindowTitle(makerLine()); });
    g([&] { lblversion->setText("Zelvo version " + cSHAREDSubs::instance().AppVersion()); });
}

QString fSHAREDAbout::pageAddress(const QString& page)
{
    return MakerAddresses::webSite() + page + '?' + Platform::facts().exeName();
}

void fSHAREDAbout::visit(const QString& page)
{
    cSharedWWW::instance().WebSiteVisit(this, pageAddress(page));
}

void fSHAREDAbout::picAds_Click(int index)
{
    if (index >= 0 && index < 4)
        visit(QString::fromLatin1(kAdPages[index]));
}

bool fSHAREDAbout::eventFilter(QObject* watched, QEvent* event)
{
    // Links open on their own when clicked; the pictures need the click passed on.
    const bool key = isKeyActivation(event);
    const bool click = event->type() == QEvent::MouseButtonRelease;
    if (key && watched == lblHome)
        visit("/");
    else if (key && watched == lblMore)
        visit("/programs");
    else if ((key || click) && watched == picLogo)
        visit("/");
    for (int k = 0; k < 4; ++k)
        if ((key || click) && watched == picAds[k])
            picAds_Click(k);
    return key || QDialog::eventFilter(watched, event);
}
