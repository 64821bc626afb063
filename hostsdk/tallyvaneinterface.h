#ifndef TALLYVANEINTERFACE_H
#define TALLYVANEINTERFACE_H

#include <QByteArray>

// A client of the defect-tracking tool. A defect is filed in steps: open a
// form, fill it, then show it (which hands it to the tool). Every short
// result is non-zero on success and 0 on failure; getErrorMessage() then
// tells why. A client whose last operation ran a command line says so with
// activatedCmdLine() and gives it with getCmdLine().
//
// This base class only keeps the connection settings and the last command
// line and error; each operation fails until a subclass provides it.
class TallyvaneInterface
{
public:
    TallyvaneInterface(const char* server, const char* database, const char* user,
                       const char* password, const char* project, const char* recordType);
    virtual ~TallyvaneInterface();
    TallyvaneInterface(const TallyvaneInterface&) = delete;
    TallyvaneInterface& operator=(const TallyvaneInterface&) = delete;

    virtual short establishConnection();
    virtual short createForm();
    virtual short setHeadLine(const char* headline);
    virtual short setDescription(const char* description);
    virtual short addFileAttachment(const char* path, const char* description);
    virtual short showTallyvaneDefectWindow(short modal);
    virtual short activatedCmdLine() const;
    virtual char* getCmdLine();
    virtual char* getErrorMessage() const;

    const QByteArray& server() const { return m_server; }
    const QByteArray& database() const { return m_database; }
    const QByteArray& user() const { return m_user; }
    const QByteArray& password() const { return m_password; }
    const QByteArray& project() const { return m_project; }
    const QByteArray& recordType() const { return m_recordType; }

protected:
    // Each operation starts with startOperation(), which forgets the command
    // line of the one before; the results go through these.
    void startOperation();
    void setCmdLine(const QByteArray& line);
    short fail(const QByteArray& message);

private:
    QByteArray m_server;
    QByteArray m_database;
    QByteArray m_user;
    QByteArray m_password;
    QByteArray m_project;
    QByteArray m_recordType;
    bool m_hasCmdLine = false;
    QByteArray m_cmdLine;
    // The getters hand out writable buffers, as callers of this interface
    // expect; they stay valid until the next operation.
    mutable QByteArray m_error;
};

#endif
