#pragma once

#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <typeindex>

// Makes the program's own forms over the main window. A modal form is made
// for one use; a modeless form exists once while it is open, is raised when
// asked for again, and is deleted when closed, so the next opening loads its
// fields afresh. Forms are made when first asked for, never at start-up.
class FormFactory
{
public:
    explicit FormFactory(QWidget* owner = nullptr) : m_owner(owner) {}

    template <class Form>
    std::unique_ptr<Form> makeModal() const
    {
        return std::make_unique<Form>(m_owner);
    }

    // The form of this kind that is open, raised; else a new one, shown.
    // The bool tells whether it was made just now.
    template <class Form>
    std::pair<Form*, bool> showModeless()
    {
        Form* form = openForm<Form>();
        const bool made = form == nullptr;
        if (made) {
            form = new Form(m_owner);
            form->setAttribute(Qt::WA_DeleteOnClose);
            m_open[std::type_index(typeid(Form))] = form;
        }
        form->show();
        form->raise();
        // A form that must leave the keyboard where it is says so itself.
        if (!form->testAttribute(Qt::WA_ShowWithoutActivating))
            form->activateWindow();
        return {form, made};
    }

    // The open modeless form of this kind, or nullptr.
    template <class Form>
    Form* openForm() const
    {
        const auto found = m_open.find(std::type_index(typeid(Form)));
        // Closing clears WA_DeleteOnClose: a form closed in this turn of the
        // event loop is only waiting to be deleted.
        if (found == m_open.end() || !found->second || !found->second->testAttribute(Qt::WA_DeleteOnClose))
            return nullptr;
        return static_cast<Form*>(found->second.data());
    }

private:
    QWidget* m_owner;
    std::map<std::type_index, QPointer<QWidget>> m_open;
};
