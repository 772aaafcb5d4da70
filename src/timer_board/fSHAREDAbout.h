#pragma once
#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

// The About window: version, the maker's pages, modal over the main window.
class fSHAREDAbout : public QDialog {
    Q_OBJECT
public:
    explicit fSHAREDAbout(QWidget* owner = nullptr);
    void Form_Load();

    // The page an item opens: the maker's address with the executable name as query text.
    static QString pageAddress(const QString& page);
    void visit(const QString& page);
    void picAds_Click(int index);

    QLabel* lblversion = nullptr;
    QLabel* lblHint = nullptr;
    QPushButton* cmdNews = nullptr;
    QLabel* lblHome = nullptr;
    QLabel* lblMore = nullptr;
    QLabel* picLogo = nullptr;
    std::array<QLabel*, 4> picAds{};
    QPushButton* cmdOK = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
