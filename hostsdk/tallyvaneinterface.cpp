#include "tallyvaneinterface.h"

TallyvaneInterface::TallyvaneInterface(const char* server, const char* database, const char* user,
                                       const char* password, const char* project,
                                       const char* recordType)
    : m_server(server), m_database(database), m_user(user), m_password(password),
      m_project(project), m_recordType(recordType)
{
}

TallyvaneInterface::~TallyvaneInterface() = default;

short TallyvaneInterface::establishConnection()
{
    startOperation();
    return fail("This defect tracker client cannot connect.");
}

short TallyvaneInterface::createForm()
{
    startOperation();
    return fail("This defect tracker client cannot open a form.");
}

short TallyvaneInterface::setHeadLine(const char*)
{
    startOperation();
    return fail("This defect tracker client cannot set a headline.");
}

short TallyvaneInterface::setDescription(const char*)
{
    startOperation();
    return fail("This defect tracker client cannot set a description.");
}

short TallyvaneInterface::addFileAttachment(const char*, const char*)
{
    startOperation();
    return fail("This defect tracker client cannot attach files.");
}

short TallyvaneInterface::showTallyvaneDefectWindow(short)
{
    startOperation();
    return fail("This defect tracker client cannot file defects.");
}

short TallyvaneInterface::activatedCmdLine() const
{
    return m_hasCmdLine ? 1 : 0;
}

char* TallyvaneInterface::getCmdLine()
{
    return m_cmdLine.data();
}

char* TallyvaneInterface::getErrorMessage() const
{
    return m_error.data();
}

void TallyvaneInterface::startOperation()
{
    m_hasCmdLine = false;
    m_cmdLine.clear();
    m_error.clear();
}

void TallyvaneInterface::setCmdLine(const QByteArray& line)
{
    m_hasCmdLine = true;
    m_cmdLine = line;
}

short TallyvaneInterface::fail(const QByteArray& message)
{
    m_error = message;
    return 0;
}
