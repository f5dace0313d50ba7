// Commands, their enabled state, and the per-class tables that route them to handlers.
#pragma once

#include <QString>

#include <initializer_list>
#include <vector>

namespace fw {

using CommandId = unsigned;

// What an update handler decides for a command's menu item, toolbar button and key.
struct CommandState
{
    bool enabled = true;
    bool checked = false;
    bool checkable = false;
    QString tooltip; // replaces the string table's tooltip while not empty
    void Enable(bool on) { enabled = on; }
    void SetCheck(bool on)
    {
        checkable = true;
        checked = on;
    }
};

// Something on the command route: the main frame, a child frame, a view, a document or the
// application. OnCmdMsg returns whether this target handles the command; with a state it
// only asks (and lets an update handler fill the state), without one it runs the handler.
class CommandTarget
{
public:
    virtual ~CommandTarget() = default;
    virtual bool OnCmdMsg(CommandId, CommandState*) { return false; }
};

// One class's command table: {id, handler, update handler}. A command without an update
// handler is enabled whenever its handler is reachable.
template <class Target> class CommandTable
{
public:
    struct Entry
    {
        CommandId id;
        void (Target::*handler)();
        void (Target::*update)(CommandState&) = nullptr;
    };

    CommandTable(std::initializer_list<Entry> entries) : m_entries(entries) {}

    bool Dispatch(Target* target, CommandId id, CommandState* state) const
    {
        for (const Entry& entry : m_entries) {
            if (entry.id != id)
                continue;
            if (state) {
                state->enabled = true;
                if (entry.update)
                    (target->*entry.update)(*state);
            } else if (entry.handler) {
                (target->*entry.handler)();
            }
            return true;
        }
        return false;
    }

private:
    std::vector<Entry> m_entries;
};

} // namespace fw
