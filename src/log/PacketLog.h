#pragma once

#include <string>

// Root of the log records.
class CObjectBase {
public:
    virtual ~CObjectBase() = default;
};

// One log entry on its way to a file. Both strings are code page 936 bytes.
class CPacketLog : public CObjectBase {
public:
    void SetFileName(const std::string& fileName) { m_strFileName = fileName; }
    void SetContent(const std::string& content) { m_strContent = content; }
    std::string GetFileName() const { return m_strFileName; }
    std::string GetContent() const { return m_strContent; }

private:
    std::string m_strFileName;  // relative to the log folder, e.g. "Tovrane.txt"
    std::string m_strContent;   // without timestamp and line end
};
