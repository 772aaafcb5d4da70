#pragma once
#include <QString>

// Where the support routines write what they carry on after and the facts they note: the event
// log, which sits a layer above them and sets itself here when the program is linked with it.
namespace EventSink {
struct Target {
    void (*action)(const QString& text, const QString& routine, const QString& module) = nullptr;
    void (*event)(const QString& text) = nullptr;
};
void setTarget(const Target& target);
// An entry of the action trail.
void action(const QString& text, const QString& routine, const QString& module);
// A line of the log file.
void event(const QString& text);
}
