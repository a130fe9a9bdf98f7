#include "adjust/console.h"

#include <algorithm>

#include "adjust/common.h"
#include "adjust/eeprom.h"
#include "adjust/hxq3_sequence.h"
#include "adjust/op_rigz30.h"

void clsListLines::SetCount(int n) {
    m_lines.resize(static_cast<std::size_t>(std::max(n, 0)));
    if (m_listIndex >= Count()) m_listIndex = -1;
    ++m_revision;
}

std::string clsListLines::Line(int i) const {
    return i >= 0 && i < Count() ? m_lines[static_cast<std::size_t>(i)] : std::string();
}

void clsListLines::SetLine(int i, const std::string& text) {
    if (i < 0) return;
    if (i >= Count()) m_lines.resize(static_cast<std::size_t>(i) + 1);
    m_lines[static_cast<std::size_t>(i)] = text;
    ++m_revision;
}

void clsConsole::Clear() {
    m_items.clear();
    if (myListBox) myListBox->SetCount(0);
}

int clsConsole::AddItem() {
    m_items.emplace_back();
    const int i = ListCount() - 1;
    if (myListBox && myListBox->Count() < ListCount()) myListBox->SetCount(ListCount());
    Disp(i);
    return i;
}

const ConsoleItem& clsConsole::Item(int i) const {
    return Valid(i) ? m_items[static_cast<std::size_t>(i)] : m_dummy;
}

ConsoleItem& clsConsole::Edit(int i) {
    if (Valid(i)) return m_items[static_cast<std::size_t>(i)];
    m_dummy = ConsoleItem{};
    return m_dummy;
}

void clsConsole::Title(int i, const std::string& t) {
    if (!Valid(i)) return;
    Edit(i).Title = t;
    Disp(i);
}

void clsConsole::Value(int i, int v) {
    if (!Valid(i)) return;
    ConsoleItem& it = Edit(i);
    const std::int16_t clamped = static_cast<std::int16_t>(std::clamp<int>(v, it.Min, it.Max));
    const bool changed = clamped != it.Value;
    it.Value = clamped;
    it.flgChanged = true;
    if (changed) Disp(i);
}

void clsConsole::Min(int i, int v) {
    if (!Valid(i)) return;
    ConsoleItem& it = Edit(i);
    it.Min = static_cast<std::int16_t>(v);
    if (it.Max < it.Min) it.Max = it.Min;
    it.Value = std::clamp(it.Value, it.Min, it.Max);
}

void clsConsole::Max(int i, int v) {
    if (!Valid(i)) return;
    ConsoleItem& it = Edit(i);
    it.Max = static_cast<std::int16_t>(v);
    if (it.Min > it.Max) it.Min = it.Max;
    it.Value = std::clamp(it.Value, it.Min, it.Max);
}

std::string clsConsole::BarString(int i) const {
    const ConsoleItem& it = Item(i);
    int r = 0;
    const int den = it.Max - it.Min;
    if (den > 0) {
        const int num = (it.Value - it.Min) * kBarWidth;
        r = num / den;
        const int rem = num % den;
        if (2 * rem > den || (2 * rem == den && (r & 1))) ++r;
        r = std::clamp(r, 0, kBarWidth);
    }
    return " [" + std::string(static_cast<std::size_t>(r), '#') +
           std::string(static_cast<std::size_t>(kBarWidth - r), '-') + "]";
}

std::string clsConsole::DefaultString(int i) const {
    const ConsoleItem& it = Item(i);
    std::string s = it.Title + ":" + Common::RightAlign(it.Value, 4);
    if (it.BarExist) s += BarString(i);
    return s;
}

void clsConsole::UpDown(int i, int step) {
    if (!Valid(i)) return;
    const ConsoleItem& it = Item(i);
    if (it.LoopVal && step > 0 && it.Value >= it.Max)
        Value(i, it.Min);
    else if (it.LoopVal && step < 0 && it.Value <= it.Min)
        Value(i, it.Max);
    else
        Value(i, it.Value + step);
}

void clsConsole::Disp(int i) {
    if (!Valid(i) || !myListBox) return;
    const ConsoleItem& it = Item(i);
    if (it.Event_Disp < 0 || !myEventClass)
        myListBox->SetLine(i, DefaultString(i));
    else
        myListBox->SetLine(i, myEventClass->ConsEv_Disp(*this, i, it.Event_Disp, it.Value));
}

void clsConsole::DispAll() {
    for (int i = 0; i < ListCount(); ++i)
        Disp(i);
}

void clsConsole::ReadFromEe(int i) {
    const ConsoleItem& it = Item(i);
    if (!Valid(i) || it.EeAdr < 0 || !myEeprom) return;
    int v = myEeprom->ReadByte(it.EeAdr);
    if (it.EeDataSigned && v > 127) v -= 256;
    Value(i, v);
}

void clsConsole::WriteToEe(int i) {
    const ConsoleItem& it = Item(i);
    if (!Valid(i) || it.EeAdr < 0 || !myEeprom) return;
    myEeprom->WriteByte(it.EeAdr, static_cast<std::uint8_t>(it.Value & 0xFF));
}

void clsConsole::SendE8(int i) {
    if (!Valid(i)) return;
    const ConsoleItem& it = Item(i);
    if (it.Event_SendE8 < 0 && it.E8Command >= 0) {
        if (myHxq3Seq) myHxq3Seq->easySendE8NoAnswer(Common::E8Text(it.E8Command, it.Value));
        if (myEventClass) myEventClass->WaitE8Required(it.WaitAfterE8);
    } else if (it.Event_SendE8 >= 0 && myEventClass) {
        myEventClass->ConsEv_SendE8(*this, i, it.Event_SendE8, it.Value);
    }
    WriteToEe(i);
}

void clsConsole::EnterPushed(int i) {
    if (Valid(i)) Edit(i).flgEnterOn = true;
}

void clsConsole::EnterExec(int i) {
    if (!Valid(i)) return;
    const ConsoleItem& it = Item(i);
    if (it.Event_Enter >= 0 && myEventClass)
        myEventClass->ConsEv_Enter(*this, i, it.Event_Enter, it.Value);
    Disp(i);
}
