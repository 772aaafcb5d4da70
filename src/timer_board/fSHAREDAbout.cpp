#include "timer_board/fSHAREDAbout.h"
#include "platform/AppFacts.h"
#include "platform/Platform.h"
#include "support/Guard.h"
#include "support/MakerAddresses.h"
#include "support/cSHAREDSubs.h"
#include "support/cSharedWWW.h"
#include "timer_board/MakerLine.h"
#include "timer_board/TrayPictures.h"
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char* const kAdPages[4] = {"/alarms", "/stopwatch", "/notes", "/calendar"};
const char* const kAdTexts[4] = {"Alarms", "Stopwatch", "Notes", "Calendar"};
const QColor kAdColours[4] = {QColor(200, 80, 60), QColor(60, 140, 200), QColor(90, 160, 80), QColor(170, 110, 190)};

QPixmap adTile(int index)
{
    QPixmap pixmap(80, 40);
    pixmap.fill(kAdColours[index]);
    QPainter p(&pixmap);
    p.setPen(Qt::white);
    p.drawText(pixmap.rect(), Qt::AlignCenter, QString::fromLatin1(kAdTexts[index]));
    return pixmap;
}

QLabel* link(QWidget* parent, const QString& text, const QString& tip)
{
    auto* label = new QLabel("<a href=\"#\">" + text.toHtmlEscaped() + "</a>", parent);
    label->setToolTip(tip);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}
}

fSHAREDAbout::fSHAREDAbout(QWidget* owner) : QDialog(owner)
{
    setObjectName("fSHAREDAbout");
    setModal(true);
    picLogo = new QLabel(this);
    picLogo->setPixmap(TrayPictures::green().scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picLogo->setToolTip("Zelvo home page");
    picLogo->setCursor(Qt::PointingHandCursor);
    picLogo->installEventFilter(this);
    lblversion = new QLabel(this);
    QFont big = lblversion->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    lblversion->setFont(big);
    lblHint = new QLabel("Hover the mouse over icons for details. Click icons to open in your browser.", this);
    lblHint->setWordWrap(true);
    lblHome = link(this, "Zelvo home page", "Visit the Zelvo home page");
    lblMore = link(this, "More programs from the maker", "See the maker's other programs");
    connect(lblHome, &QLabel::linkActivated, this, [this] { visit("/"); });
    connect(lblMore, &QLabel::linkActivated, this, [this] { visit("/programs"); });
    cmdNews = new QPushButton("News Widget", this);
    cmdNews->setToolTip("Read the maker's latest news");
    connect(cmdNews, &QPushButton::clicked, this, [this] { visit("/news"); });
    auto* ads = new QHBoxLayout;
    for (int k = 0; k < 4; ++k) {
        picAds[k] = new QLabel(this);
        picAds[k]->setPixmap(adTile(k));
        picAds[k]->setToolTip(QString::fromLatin1(kAdTexts[k]) + " from the maker of Zelvo");
        picAds[k]->setCursor(Qt::PointingHandCursor);
        picAds[k]->installEventFilter(this);
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
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == picLogo)
            visit("/");
        for (int k = 0; k < 4; ++k)
            if (watched == picAds[k])
                picAds_Click(k);
    }
    return QDialog::eventFilter(watched, event);
}
