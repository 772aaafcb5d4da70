#pragma once
#include <QString>
#include <QStringList>
#include <vector>

class QComboBox;
class QListWidget;
class QWidget;

// Translation of window texts and messages from the language files in "Languages"; log name "mLang".
// No language is chosen in this program, so every text passes unchanged.
class cSharedLang {
public:
    static cSharedLang& instance();
    // Tests start from a clean instance.
    static void resetInstance();

    QString LangID() const { return m_langId; }
    void setLangID(const QString& id) { m_langId = id; }
    QString FormFontName() const { return m_formFontName; }
    void setFormFontName(const QString& name) { m_formFontName = name; }

    QString LanguagePath() const { return m_languagePath; }
    QString CurrentLanguage() const { return m_currentLanguage; }

    void OverrideLanguagePath(const QString& folder);
    int LanguageCount() const;
    QString LanguageTitle(int index) const;
    void Localise(QWidget* window, int languageIndex);
    void TranslateForm(QWidget* window);
    QString GetTranslation(const QString& text);
    void LoadLanguage(int languageIndex);
    void FillLanguageList(QListWidget* list);
    void FillLanguageList(QComboBox* list);
    void LoadAllLanguages();
    void RevertToEnglish();
    void SetListToSelected(const QString& title, QListWidget* list);
    void SetListToSelected(const QString& title, QComboBox* list);
    void GenerateLanguageTemplate();
    void WriteStrings(QWidget* window, const QString& filePath);
    void UpdateTemplates(const QString& languagePath);

private:
    // One body for both kinds of list.
    template <class List>
    void fillList(List* list);
    struct Entry {
        QString english;
        QString translation;
    };
    cSharedLang();
    int findEntry(const QString& text) const;
    void SortCollection();
    void ChangeFont(QWidget* window);
    bool fontInstalled(const QString& name);
    QString languagesFolder() const;
    QString languageFile(const QString& name) const;
    QString templatePath() const;
    QStringList readLines(const QString& fileName) const;

    QString m_langId;
    QString m_formFontName;
    QString m_languagePath;
    QStringList m_files;
    QStringList m_titles;
    QString m_currentLanguage;
    std::vector<Entry> m_table;
    QStringList m_fontCache;
};
