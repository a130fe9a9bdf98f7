// The console of adjustable items, drawn line by line into a list of lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class clsCmcEeprom;
class clsCmcHxq3Sequence;
class clsIndOp_RigZ30;

// A list control seen as lines of text; the window mirrors one of these.
class IListLines {
public:
    virtual ~IListLines() = default;
    virtual int Count() const = 0;
    virtual void SetCount(int n) = 0;
    virtual std::string Line(int i) const = 0;
    virtual void SetLine(int i, const std::string& text) = 0;
};

// Lines held in memory with the selected line; Revision() grows with every change of the lines
// so a window can follow.
class clsListLines : public IListLines {
public:
    int Count() const override { return static_cast<int>(m_lines.size()); }
    void SetCount(int n) override;
    std::string Line(int i) const override;
    void SetLine(int i, const std::string& text) override;
    unsigned Revision() const { return m_revision; }
    const std::vector<std::string>& Lines() const { return m_lines; }
    // The selected line, -1 for none; lines that go away take their selection with them.
    int ListIndex() const { return m_listIndex; }
    void ListIndex(int i) { m_listIndex = i >= 0 && i < Count() ? i : -1; }

private:
    std::vector<std::string> m_lines;
    unsigned m_revision = 0;
    int m_listIndex = -1;
};

struct ConsoleItem {
    std::string Title;
    std::int16_t Value = 0;
    std::int16_t Min = 0;
    std::int16_t Max = 255;
    bool BarExist = false;
    bool LoopVal = false;
    std::int32_t WaitAfterE8 = 200;
    std::int32_t EeAdr = -1;
    bool EeDataSigned = false;
    std::int16_t E8Command = -1;
    std::int16_t Event_Disp = -1;
    std::int16_t Event_SendE8 = -1;
    std::int16_t Event_Enter = -1;
    bool flgChanged = false;
    bool flgEnterOn = false;
};

class clsConsole {
public:
    static constexpr int kBarWidth = 20;

    IListLines* myListBox = nullptr;
    clsIndOp_RigZ30* myEventClass = nullptr;
    clsCmcHxq3Sequence* myHxq3Seq = nullptr;
    clsCmcEeprom* myEeprom = nullptr;

    void Clear();
    int AddItem();
    int ListCount() const { return static_cast<int>(m_items.size()); }
    bool Valid(int i) const { return i >= 0 && i < ListCount(); }

    // Item fields; an index outside the list reads a default item and writes nothing.
    const ConsoleItem& Item(int i) const;
    ConsoleItem& Edit(int i);
    void Title(int i, const std::string& t);
    void Value(int i, int v);
    std::int16_t Value(int i) const { return Item(i).Value; }
    void Min(int i, int v);
    void Max(int i, int v);

    std::string DefaultString(int i) const;
    std::string BarString(int i) const;
    void UpDown(int i, int step);
    void Disp(int i);
    void DispAll();
    void ReadFromEe(int i);
    void WriteToEe(int i);
    void SendE8(int i);
    void EnterPushed(int i);
    void EnterExec(int i);

private:
    std::vector<ConsoleItem> m_items;
    ConsoleItem m_dummy;
};
