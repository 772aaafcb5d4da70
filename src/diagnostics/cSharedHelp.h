#pragma once
#include <QString>

class QWidget;

// The program's help: the page "Help/Index.htm" in the program's folder.
class cSharedHelp {
public:
    static cSharedHelp& instance();
    // Every topic opens the help index; the pages have no anchors to jump to.
    void ShowHelp(QWidget* owner, const QString& topic);
};
