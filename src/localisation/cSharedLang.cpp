#include "localisation/cSharedLang.h"
#include "diagnostics/cSharedLogging.h"
#include "platform/AppFacts.h"
#include "platform/Platform.h"
#include "support/Guard.h"
#include "support/cSHAREDSubs.h"
#include "support/cSharedFileSubs.h"
#include "support/cSharedText.h"
#include <QAbstractItemModel>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>
#include <QToolBar>
#include <QToolBox>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>
#include <functional>

namespace {
const QString kLog = QStringLiteral("mLang");
const QString kEnglish = QStringLiteral("English");
const QString kBreak = QStringLiteral("||");

cSharedLang*& current()
{
    static cSharedLang* lang = nullptr;
    return lang;
}

// Blanks only, as the file format trims them; tabs are removed separately.
QString trimBlanks(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start] == ' ')
        ++start;
    qsizetype end = text.size();
    while (end > start && text[end - 1] == ' ')
        --end;
    return text.mid(start, end - start);
}

// A language file line: blanks trimmed first, then every tab removed wherever it stands.
QString cleanLine(const QString& line)
{
    QString cleaned = trimBlanks(line);
    cleaned.remove('\t');
    return cleaned;
}

bool isContent(const QString& cleaned) { return !cleaned.isEmpty() && !cleaned.startsWith('#'); }

// Files from Windows end their lines in CR LF; plain LF or CR also end a line.
QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines << text.mid(start, i - start);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

QString BeforeBreak(const QString& line)
{
    QString part;
    Guard g{"BeforeBreak", kLog};
    g([&] {
        const qsizetype at = line.indexOf(kBreak);
        if (at >= 0)
            part = trimBlanks(line.left(at));
    });
    return part;
}

QString AfterBreak(const QString& line)
{
    QString part;
    Guard g{"AfterBreak", kLog};
    g([&] {
        const qsizetype at = line.indexOf(kBreak);
        if (at >= 0)
            part = trimBlanks(line.mid(at + kBreak.size()));
    });
    return part;
}

bool isPicture(const QLabel* label)
{
    return !label->pixmap().isNull() || label->movie() != nullptr;
}

// Parts Qt builds inside another widget; the owning widget's own rule covers them.
bool isInnerPart(const QWidget* widget)
{
    const QWidget* parent = widget->parentWidget();
    if (qobject_cast<const QHeaderView*>(widget) || widget->objectName().startsWith(QLatin1String("qt_")))
        return true;
    if (qobject_cast<const QComboBox*>(parent) || qobject_cast<const QAbstractSpinBox*>(parent))
        return true;
    if (qobject_cast<const QTabWidget*>(parent) && qobject_cast<const QTabBar*>(widget))
        return true;
    if (const auto* button = qobject_cast<const QToolButton*>(widget)) {
        if (button->defaultAction())
            return true;
        return qobject_cast<const QToolBar*>(parent) || qobject_cast<const QMenuBar*>(parent)
               || qobject_cast<const QTabBar*>(parent);
    }
    return false;
}

// The tooltip Qt derives from an action's text when none was set.
bool hasOwnToolTip(const QAction* action)
{
    QString derived = action->text();
    derived.remove('&');
    if (derived.endsWith(QLatin1String("...")))
        derived.chop(3);
    return action->toolTip() != derived.trimmed();
}

// Walks the texts of one window in the order the language rules give, handing each to the
// visitor and writing back whatever it returns that differs.
class TextWalk {
public:
    using Visitor = std::function<QString(const QString&)>;
    TextWalk(const Visitor& visit, const QString& routine) : m_visit(visit), m_guard(routine, kLog) {}

    void window(QWidget* window)
    {
        text([&] { return window->windowTitle(); }, [&](const QString& t) { window->setWindowTitle(t); });
        const QList<QWidget*> widgets = window->findChildren<QWidget*>();
        for (QWidget* widget : widgets) {
            if (!isInnerPart(widget))
                this->widget(widget);
        }
        const QList<QAction*> actions = window->findChildren<QAction*>();
        for (QAction* action : actions)
            menuItem(action);
    }

private:
    template <class Get, class Set>
    void text(Get get, Set set)
    {
        m_guard([&] {
            const QString before = get();
            const QString after = m_visit(before);
            if (after != before)
                set(after);
        });
    }

    void toolTip(QWidget* w)
    {
        text([&] { return w->toolTip(); }, [&](const QString& t) { w->setToolTip(t); });
    }

    void widget(QWidget* w)
    {
        if (auto* bar = qobject_cast<QToolBar*>(w))
            toolBar(bar);
        else if (auto* tabs = qobject_cast<QTabWidget*>(w))
            tabCaptions(tabs->count(), [&](int i) { return tabs->tabText(i); },
                        [&](int i, const QString& t) { tabs->setTabText(i, t); });
        else if (auto* box = qobject_cast<QToolBox*>(w))
            tabCaptions(box->count(), [&](int i) { return box->itemText(i); },
                        [&](int i, const QString& t) { box->setItemText(i, t); });
        else if (auto* strip = qobject_cast<QTabBar*>(w))
            tabCaptions(strip->count(), [&](int i) { return strip->tabText(i); },
                        [&](int i, const QString& t) { strip->setTabText(i, t); });
        else if (auto* label = qobject_cast<QLabel*>(w))
            captioned(label, isPicture(label));
        else if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QGroupBox*>(w))
            captioned(w, false);
        else if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w))
            textBox(w);
        else if (qobject_cast<QTreeView*>(w) || qobject_cast<QTableView*>(w))
            listView(static_cast<QAbstractItemView*>(w));
        else if (qobject_cast<QComboBox*>(w) || qobject_cast<QProgressBar*>(w)
                 || w->metaObject() == &QFrame::staticMetaObject)
            toolTip(w);
    }

    // Buttons, labels, check boxes, option buttons and frames: caption, then tooltip.
    void captioned(QWidget* w, bool pictureOnly)
    {
        if (!pictureOnly) {
            if (auto* label = qobject_cast<QLabel*>(w))
                text([&] { return label->text(); }, [&](const QString& t) { label->setText(t); });
            else if (auto* button = qobject_cast<QAbstractButton*>(w))
                text([&] { return button->text(); }, [&](const QString& t) { button->setText(t); });
            else if (auto* frame = qobject_cast<QGroupBox*>(w))
                text([&] { return frame->title(); }, [&](const QString& t) { frame->setTitle(t); });
        }
        toolTip(w);
    }

    void textBox(QWidget* w)
    {
        if (auto* line = qobject_cast<QLineEdit*>(w))
            text([&] { return line->text(); }, [&](const QString& t) { line->setText(t); });
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
            text([&] { return plain->toPlainText(); }, [&](const QString& t) { plain->setPlainText(t); });
        else if (auto* rich = qobject_cast<QTextEdit*>(w))
            text([&] { return rich->toPlainText(); }, [&](const QString& t) { rich->setPlainText(t); });
        toolTip(w);
    }

    void listView(QAbstractItemView* view)
    {
        QAbstractItemModel* model = view->model();
        const int columns = model ? model->columnCount() : 0;
        for (int i = 0; i < columns; ++i)
            text([&] { return model->headerData(i, Qt::Horizontal).toString(); },
                 [&](const QString& t) { model->setHeaderData(i, Qt::Horizontal, t); });
        toolTip(view);
    }

    void toolBar(QToolBar* bar)
    {
        const QList<QAction*> buttons = bar->actions();
        for (QAction* button : buttons) {
            if (button->isSeparator() || m_done.contains(button))
                continue;
            m_done.insert(button);
            actionText(button);
            if (hasOwnToolTip(button))
                text([&] { return button->toolTip(); }, [&](const QString& t) { button->setToolTip(t); });
            if (QMenu* dropDown = button->menu()) {
                const QList<QAction*> items = dropDown->actions();
                for (QAction* item : items)
                    menuItem(item);
            }
        }
    }

    void menuItem(QAction* action)
    {
        if (action->isSeparator() || m_done.contains(action))
            return;
        m_done.insert(action);
        actionText(action);
    }

    void actionText(QAction* action)
    {
        text([&] { return action->text(); }, [&](const QString& t) { action->setText(t); });
    }

    template <class Get, class Set>
    void tabCaptions(int count, Get get, Set set)
    {
        for (int i = 0; i < count; ++i)
            text([&] { return get(i); }, [&](const QString& t) { set(i, t); });
    }

    const Visitor& m_visit;
    Guard m_guard;
    QSet<QAction*> m_done;
};

bool isLoadedWindow(const QWidget* widget)
{
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::SplashScreen;
}

template <class List>
void selectTitle(const QString& title, List* list)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i) == title)
            list->setCurrentIndex(i);
    }
    if (list->currentIndex() < 0)
        list->setCurrentIndex(0);
}

// The list box as the combo-box interface sees it.
class ListAdapter {
public:
    explicit ListAdapter(QListWidget* list) : m_list(list) {}
    int count() const { return m_list->count(); }
    QString itemText(int i) const { return m_list->item(i)->text(); }
    int currentIndex() const { return m_list->currentRow(); }
    void setCurrentIndex(int i) { m_list->setCurrentRow(i); }

private:
    QListWidget* m_list;
};
}

cSharedLang& cSharedLang::instance()
{
    if (!current())
        current() = new cSharedLang;  // kept until the process ends
    return *current();
}

void cSharedLang::resetInstance()
{
    delete current();
    current() = nullptr;
}

cSharedLang::cSharedLang() : m_languagePath(Platform::facts().assetFolder()) {}

QString cSharedLang::languagesFolder() const
{
    return cSharedFileSubs::instance().AddSlashIfMissing(m_languagePath) + QStringLiteral("Languages");
}

QString cSharedLang::languageFile(const QString& name) const
{
    return cSharedFileSubs::instance().AddSlashIfMissing(languagesFolder()) + name;
}

// "Template.txt" in whatever letter case the folder holds it.
QString cSharedLang::templatePath() const
{
    cSharedFileSubs& files = cSharedFileSubs::instance();
    QStringList names;
    try {
        files.FillFiles(languagesFolder(), QStringLiteral("txt"), names);
    } catch (...) {
        names.clear();
    }
    for (const QString& name : names) {
        if (cSharedText::instance().StringsEqual(name, QStringLiteral("template.txt")))
            return languageFile(name);
    }
    return languageFile(QStringLiteral("Template.txt"));
}

QStringList cSharedLang::readLines(const QString& fileName) const
{
    QString text;
    if (!cSharedFileSubs::instance().LoadTextFile(fileName, text))
        return {};
    return splitLines(text);
}

void cSharedLang::OverrideLanguagePath(const QString& folder)
{
    cSharedFileSubs& files = cSharedFileSubs::instance();
    if (files.FolderExists(folder))
        m_languagePath = files.RemoveSlashFromEnd(folder);
}

int cSharedLang::LanguageCount() const { return static_cast<int>(m_titles.size()); }

QString cSharedLang::LanguageTitle(int index) const { return m_titles.value(index - 1); }

void cSharedLang::Localise(QWidget* window, int languageIndex)
{
    Guard g{"Localise", kLog};
    g([&] { LoadLanguage(0); });
    g([&] { TranslateForm(window); });
    g([&] { LoadLanguage(languageIndex); });
    g([&] { TranslateForm(window); });
}

void cSharedLang::TranslateForm(QWidget* window)
{
    Guard g{"TranslateForm", kLog};
    if (!g([&] {
            if (!window)
                throw AppError(AppError::ObjectVariableNotSet);
        }))
        return;
    ChangeFont(window);
    const TextWalk::Visitor translate = [this](const QString& text) { return GetTranslation(text); };
    g([&] { TextWalk(translate, QStringLiteral("TranslateForm")).window(window); });
}

int cSharedLang::findEntry(const QString& text) const
{
    if (m_table.empty())
        return -1;
    const cSharedText& compare = cSharedText::instance();
    const int last = static_cast<int>(m_table.size()) - 1;
    if (compare.StringsEqual(m_table.front().english, text))
        return 0;
    if (compare.StringsEqual(m_table.back().english, text))
        return last;
    int low = 0;
    int high = last;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int order = text.compare(m_table[static_cast<std::size_t>(middle)].english);
        if (order == 0)
            return middle;
        if (order < 0)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return -1;
}

QString cSharedLang::GetTranslation(const QString& text)
{
    QString result = text;
    Guard g{"GetTranslation", kLog};
    g([&] {
        const int found = findEntry(text);
        if (found >= 0)
            result = m_table[static_cast<std::size_t>(found)].translation;
    });
    return result;
}

void cSharedLang::LoadLanguage(int languageIndex)
{
    if (m_currentLanguage == kEnglish && languageIndex == 0)
        return;
    if (languageIndex < 1) {
        RevertToEnglish();
        return;
    }
    Guard g{"LoadLanguage", kLog};
    QString title;
    QString fileName;
    const bool listed = g([&] {
        if (languageIndex > m_titles.size() || languageIndex > m_files.size())
            throw AppError(AppError::SubscriptOutOfRange);
        title = m_titles[languageIndex - 1];
        fileName = m_files[languageIndex - 1];
    });
    if (!listed || title == m_currentLanguage)
        return;
    m_table.clear();
    // A file that has lost its title still must not pass for the language loaded before.
    m_currentLanguage = title;
    g([&] {
        bool titleRead = false;
        const QStringList lines = readLines(languageFile(fileName));
        for (const QString& line : lines) {
            const QString cleaned = cleanLine(line);
            if (!isContent(cleaned))
                continue;
            if (!titleRead) {
                m_currentLanguage = cleaned;
                titleRead = true;
                continue;
            }
            m_table.push_back({BeforeBreak(cleaned), AfterBreak(cleaned)});
        }
    });
    SortCollection();
}

void cSharedLang::SortCollection()
{
    Guard g{"SortCollection", kLog};
    // Stable, so entries with the same English text keep their file order as the exchange sort did.
    g([&] {
        std::stable_sort(m_table.begin(), m_table.end(),
                         [](const Entry& a, const Entry& b) { return a.english < b.english; });
    });
}

void cSharedLang::RevertToEnglish()
{
    if (m_currentLanguage == kEnglish)
        return;
    Guard g{"RevertToEnglish", kLog};
    m_currentLanguage = kEnglish;
    g([&] {
        for (Entry& entry : m_table)
            std::swap(entry.english, entry.translation);
    });
    SortCollection();
}

void cSharedLang::LoadAllLanguages()
{
    Guard g{"LoadAllLanguages", kLog};
    m_files.clear();
    m_titles.clear();
    g([&] { cSharedFileSubs::instance().FillFiles(languagesFolder(), QStringLiteral("txt"), m_files); });
    if (m_files.isEmpty())
        return;
    const cSharedText& compare = cSharedText::instance();
    for (qsizetype i = m_files.size() - 1; i >= 0; --i) {
        if (compare.StringsEqual(m_files[i], QStringLiteral("template.txt")))
            m_files.removeAt(i);
    }
    for (qsizetype i = 0; i < m_files.size(); ++i) {
        QString title = QStringLiteral("Language ") + QString::number(i + 1);
        g([&] {
            const QStringList lines = readLines(languageFile(m_files[i]));
            for (const QString& line : lines) {
                const QString cleaned = cleanLine(line);
                if (isContent(cleaned)) {
                    title = cleaned;
                    break;
                }
            }
        });
        m_titles << title;
    }
}

template <class List>
void cSharedLang::fillList(List* list)
{
    Guard g{"FillLanguageList", kLog};
    if (!g([&] {
            if (!list)
                throw AppError(AppError::ObjectVariableNotSet);
        }))
        return;
    g([&] { list->clear(); });
    g([&] { list->addItem(kEnglish); });
    g([&] { LoadAllLanguages(); });
    g([&] { list->addItems(m_titles); });
}

void cSharedLang::FillLanguageList(QListWidget* list) { fillList(list); }
void cSharedLang::FillLanguageList(QComboBox* list) { fillList(list); }

void cSharedLang::SetListToSelected(const QString& title, QListWidget* list)
{
    Guard g{"SetListToSelected", kLog};
    g([&] {
        if (!list)
            throw AppError(AppError::ObjectVariableNotSet);
        ListAdapter adapter(list);
        selectTitle(title, &adapter);
    });
}

void cSharedLang::SetListToSelected(const QString& title, QComboBox* list)
{
    Guard g{"SetListToSelected", kLog};
    g([&] {
        if (!list)
            throw AppError(AppError::ObjectVariableNotSet);
        selectTitle(title, list);
    });
}

void cSharedLang::ChangeFont(QWidget* window)
{
    Guard g{"ChangeFont", kLog};
    const QString name = trimBlanks(m_formFontName);
    if (name.isEmpty())
        return;
    bool installed = false;
    g([&] { installed = fontInstalled(name); });
    if (!installed) {
        cSharedLogging::instance().LogEvent("Cannot set font to " + name + ". Not present.", false);
        m_formFontName.clear();
        return;
    }
    const auto setFamily = [&](QWidget* w) {
        QFont font = w->font();
        font.setFamily(name);
        w->setFont(font);
    };
    const QList<QWidget*> widgets = window->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        g([&] {
            // A symbol-font button shows pictures, not letters.
            if (qobject_cast<QPushButton*>(w) && w->font().family() == QLatin1String("Webdings"))
                return;
            setFamily(w);
        });
    }
    g([&] { setFamily(window); });
}

bool cSharedLang::fontInstalled(const QString& name)
{
    const cSharedText& compare = cSharedText::instance();
    for (const QString& cached : std::as_const(m_fontCache)) {
        if (compare.StringsEqual(cached, name))
            return true;
    }
    const QStringList families = QFontDatabase::families();
    for (const QString& family : families) {
        if (compare.StringsEqual(family, name)) {
            m_fontCache << family;
            return true;
        }
    }
    return false;
}

void cSharedLang::GenerateLanguageTemplate()
{
    Guard g{"GenerateLanguageTemplate", kLog};
    const QString file = cSharedFileSubs::instance().AddSlashIfMissing(m_languagePath) + "FormsText.txt";
    g([&] { cSharedFileSubs::instance().WriteTextFile(file, QString()); });
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (isLoadedWindow(window))
            g([&] { WriteStrings(window, file); });
    }
}

void cSharedLang::WriteStrings(QWidget* window, const QString& filePath)
{
    Guard g{"WriteStrings", kLog};
    cSharedFileSubs& files = cSharedFileSubs::instance();
    const QString file =
        filePath.isEmpty() ? files.AddSlashIfMissing(m_languagePath) + "FormsText.txt" : filePath;
    if (!g([&] {
            if (!window)
                throw AppError(AppError::ObjectVariableNotSet);
        }))
        return;
    const TextWalk::Visitor record = [&](const QString& text) {
        // Empty captions and menu separators are not texts to translate.
        if (!text.isEmpty() && text != QLatin1String("-"))
            files.AppendToTextFile(file, text + kBreak + text);
        return text;
    };
    g([&] { TextWalk(record, QStringLiteral("WriteStrings")).window(window); });
    g([&] { files.AppendToTextFile(file, QString()); });
}

void cSharedLang::UpdateTemplates(const QString& languagePath)
{
    Guard g{"UpdateTemplates", kLog};
    cSharedFileSubs& files = cSharedFileSubs::instance();
    g([&] { cSHAREDSubs::instance().BusyMouse(); });
    g([&] { OverrideLanguagePath(languagePath); });
    g([&] { LoadAllLanguages(); });
    QString text;
    g([&] { files.ReadTextFile(templatePath(), text); });
    const QStringList lines = splitLines(text);
    for (int i = 1; i <= LanguageCount(); ++i) {
        g([&] {
            // Read each file afresh: an earlier run's additions, or two files with one title,
            // must not leave the table of another file in place.
            m_currentLanguage.clear();
            LoadLanguage(i);
            const QString file = languageFile(m_files[i - 1]);
            for (const QString& line : lines) {
                // Read as the language files are, so a text with a tab is not added again each time.
                const QString cleaned = cleanLine(line);
                if (!cleaned.contains(kBreak) || cleaned.startsWith('#'))
                    continue;
                const QString english = BeforeBreak(cleaned);
                if (findEntry(english) < 0)
                    files.AppendToTextFile(file, "\r\n" + english + kBreak + english);
            }
        });
    }
    g([&] { cSHAREDSubs::instance().NormalMouse(); });
}
