#include "SlotCatalogue.h"

// clang-format off
namespace {

using S = SlotId;

const std::vector<TLSElementRow> Page0Large = {
    {"Battery", 5,5,34,20, S::Main_Batts}, {"Battery", 205,5,234,20, S::Main_Batts},
    {"Battery Label", 40,6,46,17, S::Main_BattsNum}, {"Battery Label", 193,6,199,17, S::Main_BattsNum},
    {"Clock", 94,2,146,19, S::Main_Clock},
    {"Divider", 0,168,239,177, S::Main_Divider}, {"Divider", 27,222,93,228, S::Main_Divider}, {"Divider", 27,290,93,296, S::Main_Divider}, {"Divider", 145,222,211,228, S::Main_Divider}, {"Divider", 145,290,211,296, S::Main_Divider}, {"Divider", 4,40,66,48, S::Main_Divider}, {"Divider", 173,40,235,48, S::Main_Divider},
    {"Divider Sq.", 19,222,26,228, S::Main_DivSq}, {"Divider Sq.", 94,222,101,228, S::Main_DivSq}, {"Divider Sq.", 19,290,26,296, S::Main_DivSq}, {"Divider Sq.", 94,290,101,296, S::Main_DivSq}, {"Divider Sq.", 137,222,144,228, S::Main_DivSq}, {"Divider Sq.", 212,222,219,228, S::Main_DivSq}, {"Divider Sq.", 137,290,144,296, S::Main_DivSq}, {"Divider Sq.", 212,290,219,296, S::Main_DivSq},
    {"Info Label", 22,232,99,251, S::Main_Info_Cap}, {"Info Label", 141,232,216,251, S::Main_Info_Cap}, {"Info Label", 22,301,99,319, S::Main_Info_Cap}, {"Info Label", 141,301,216,319, S::Main_Info_Cap},
    {"Dominant", 65,62,174,120, S::Main_Dom},
    {"Dominant Acc.", 6,102,64,133, S::Main_AccentVW}, {"Dominant Acc.", 65,121,174,133, S::Main_AccentVW}, {"Dominant Acc.", 175,102,228,133, S::Main_AccentVW}, {"Dominant Acc.", 106,134,134,164, S::Main_AccentVW},
    {"Profile", 79,34,163,52, S::Main_Profile},
    {"Fixed", 6,140,51,163, S::Main_Fixed}, {"Fixed", 177,140,222,163, S::Main_Fixed},
    {"Fixed Acc.", 52,145,64,163, S::Main_Fixed_Acc}, {"Fixed Acc.", 223,145,234,163, S::Main_Fixed_Acc},
    {"Info", 40,196,72,217, S::Main_Info}, {"Info", 145,196,202,217, S::Main_Info}, {"Info", 40,266,71,287, S::Main_Info}, {"Info", 152,266,194,287, S::Main_Info},
    {"Info Acc.", 73,199,84,217, S::Main_Info_Acc}, {"Info Acc.", 203,199,216,217, S::Main_Info_Acc}, {"Info Acc.", 72,269,83,287, S::Main_Info_Acc}, {"Info Acc.", 195,269,207,287, S::Main_Info_Acc},
    {"Background", -1,-1,-1,-1, S::Main_Background},
};

const std::vector<TLSElementRow> Page0Small = {
    {"Battery", 81,80,106,90, S::Main_Batts}, {"Battery", 131,79,159,90, S::Main_Batts},
    {"Divider", 78,111,160,117, S::Main_Divider}, {"Divider", 78,155,160,159, S::Main_Divider}, {"Divider", 80,173,160,178, S::Main_Divider}, {"Divider", 78,94,161,97, S::Main_Divider},
    {"Info Label", 85,183,98,194, S::Main_Info_Cap}, {"Info Label", 85,201,99,212, S::Main_Info_Cap}, {"Info Label", 86,218,100,231, S::Main_Info_Cap},
    {"Dominant", 80,121,130,148, S::Main_Dom},
    {"Dominant Acc.", 131,121,158,148, S::Main_AccentVW},
    {"Profile", 91,98,149,109, S::Main_Profile},
    {"Fixed", 80,160,107,172, S::Main_Fixed}, {"Fixed", 123,160,148,172, S::Main_Fixed},
    {"Fixed Acc.", 108,160,117,172, S::Main_Fixed_Acc}, {"Fixed Acc.", 149,160,160,172, S::Main_Fixed_Acc},
    {"Info", 119,184,137,196, S::Main_Info}, {"Info", 112,202,145,213, S::Main_Info}, {"Info", 116,220,141,232, S::Main_Info},
    {"Info Acc.", 139,184,147,195, S::Main_Info_Acc}, {"Info Acc.", 147,202,155,213, S::Main_Info_Acc}, {"Info Acc.", 143,220,150,232, S::Main_Info_Acc},
    {"Charging", 114,79,122,91, S::Main_BattsNum},
    {"Info Backgnd.", 108,181,119,202, S::Main_DivSq}, {"Info Backgnd.", 148,181,159,201, S::Main_DivSq}, {"Info Backgnd.", 108,214,114,234, S::Main_DivSq}, {"Info Backgnd.", 151,215,159,234, S::Main_DivSq},
    {"Background", -1,-1,-1,-1, S::Main_Background},
};

const std::vector<TLSElementRow> Page1Large = {
    {"Battery", 5,5,34,20, S::Main_Batts}, {"Battery", 205,5,234,20, S::Main_Batts},
    {"Battery Label", 40,6,46,17, S::Main_BattsNum}, {"Battery Label", 193,6,199,17, S::Main_BattsNum},
    {"Clock", 94,2,146,19, S::Main_Clock},
    {"Divider", 0,168,239,177, S::Main_Divider}, {"Divider", 27,222,93,228, S::Main_Divider}, {"Divider", 27,290,93,296, S::Main_Divider}, {"Divider", 145,222,211,228, S::Main_Divider}, {"Divider", 145,290,211,296, S::Main_Divider}, {"Divider", 4,40,66,48, S::Main_Divider}, {"Divider", 173,40,235,48, S::Main_Divider},
    {"Divider Sq.", 19,222,26,228, S::Main_DivSq}, {"Divider Sq.", 94,222,101,228, S::Main_DivSq}, {"Divider Sq.", 19,290,26,296, S::Main_DivSq}, {"Divider Sq.", 94,290,101,296, S::Main_DivSq}, {"Divider Sq.", 137,222,144,228, S::Main_DivSq}, {"Divider Sq.", 212,222,219,228, S::Main_DivSq}, {"Divider Sq.", 137,290,144,296, S::Main_DivSq}, {"Divider Sq.", 212,290,219,296, S::Main_DivSq},
    {"Info Label", 22,232,99,251, S::Main_Info_Cap}, {"Info Label", 141,232,216,251, S::Main_Info_Cap}, {"Info Label", 22,301,99,319, S::Main_Info_Cap}, {"Info Label", 141,301,216,319, S::Main_Info_Cap},
    {"Dominant", 65,62,174,120, S::Main_Dom},
    {"Dominant Acc.", 6,102,64,133, S::Main_AccentTC}, {"Dominant Acc.", 65,121,174,133, S::Main_AccentTC}, {"Dominant Acc.", 175,102,228,133, S::Main_AccentTC}, {"Dominant Acc.", 106,134,134,164, S::Main_AccentTC},
    {"Profile", 79,34,163,52, S::Main_Profile},
    {"Fixed", 6,140,51,163, S::Main_Fixed}, {"Fixed", 177,140,222,163, S::Main_Fixed},
    {"Fixed Acc.", 52,145,64,163, S::Main_Fixed_Acc}, {"Fixed Acc.", 223,145,234,163, S::Main_Fixed_Acc},
    {"Info", 40,196,72,217, S::Main_Info}, {"Info", 145,196,202,217, S::Main_Info}, {"Info", 40,266,71,287, S::Main_Info}, {"Info", 152,266,194,287, S::Main_Info},
    {"Info Acc.", 73,199,84,217, S::Main_Info_Acc}, {"Info Acc.", 203,199,216,217, S::Main_Info_Acc}, {"Info Acc.", 72,269,83,287, S::Main_Info_Acc}, {"Info Acc.", 195,269,207,287, S::Main_Info_Acc},
    {"Material, secondary", 4,50,40,68, S::Main_TCR}, {"Material, secondary", 181,50,235,68, S::Main_TCR},
    {"Background", -1,-1,-1,-1, S::Main_Background},
};

const std::vector<TLSElementRow> Page1Small = {
    {"Battery", 81,80,106,90, S::Main_Batts}, {"Battery", 131,79,159,90, S::Main_Batts},
    {"Divider", 78,111,160,117, S::Main_Divider}, {"Divider", 78,155,160,159, S::Main_Divider}, {"Divider", 80,173,160,178, S::Main_Divider}, {"Divider", 78,94,161,97, S::Main_Divider},
    {"Info Label", 85,183,98,194, S::Main_Info_Cap}, {"Info Label", 85,201,99,212, S::Main_Info_Cap}, {"Info Label", 86,218,100,231, S::Main_Info_Cap},
    {"Dominant", 82,121,127,148, S::Main_Dom},
    {"Dominant Acc.", 128,121,154,148, S::Main_AccentTC},
    {"Profile", 91,98,149,109, S::Main_Profile},
    {"Fixed", 80,160,106,172, S::Main_Fixed}, {"Fixed", 123,160,148,172, S::Main_Fixed},
    {"Fixed Acc.", 107,160,119,172, S::Main_Fixed_Acc}, {"Fixed Acc.", 149,160,160,172, S::Main_Fixed_Acc},
    {"Info", 119,184,137,196, S::Main_Info}, {"Info", 112,202,145,213, S::Main_Info}, {"Info", 116,220,141,232, S::Main_Info},
    {"Info Acc.", 139,184,147,195, S::Main_Info_Acc}, {"Info Acc.", 147,202,155,213, S::Main_Info_Acc}, {"Info Acc.", 143,220,150,232, S::Main_Info_Acc},
    {"Charging", 114,79,122,91, S::Main_BattsNum},
    {"Info Backgnd.", 108,181,119,202, S::Main_DivSq}, {"Info Backgnd.", 148,181,159,201, S::Main_DivSq}, {"Info Backgnd.", 108,214,114,234, S::Main_DivSq}, {"Info Backgnd.", 151,215,159,234, S::Main_DivSq},
    {"Background", -1,-1,-1,-1, S::Main_Background},
};

const std::vector<TLSElementRow> Page2Large = {
    {"Battery", 5,5,34,20, S::Main_Batts}, {"Battery", 205,5,234,20, S::Main_Batts},
    {"Battery Label", 40,6,46,17, S::Main_BattsNum}, {"Battery Label", 193,6,199,17, S::Main_BattsNum},
    {"Clock", 94,2,146,19, S::Main_Clock},
    {"Divider", 0,168,239,177, S::Main_Divider}, {"Divider", 27,222,93,228, S::Main_Divider}, {"Divider", 27,290,93,296, S::Main_Divider}, {"Divider", 145,222,211,228, S::Main_Divider}, {"Divider", 145,290,211,296, S::Main_Divider}, {"Divider", 4,40,45,48, S::Main_Divider}, {"Divider", 194,40,235,48, S::Main_Divider},
    {"Divider Sq.", 19,222,26,228, S::Main_DivSq}, {"Divider Sq.", 94,222,101,228, S::Main_DivSq}, {"Divider Sq.", 19,290,26,296, S::Main_DivSq}, {"Divider Sq.", 94,290,101,296, S::Main_DivSq}, {"Divider Sq.", 137,222,144,228, S::Main_DivSq}, {"Divider Sq.", 212,222,219,228, S::Main_DivSq}, {"Divider Sq.", 137,290,144,296, S::Main_DivSq}, {"Divider Sq.", 212,290,219,296, S::Main_DivSq},
    {"Info Label", 22,232,99,251, S::Main_Info_Cap}, {"Info Label", 141,232,216,251, S::Main_Info_Cap}, {"Info Label", 22,301,99,319, S::Main_Info_Cap}, {"Info Label", 141,301,216,319, S::Main_Info_Cap},
    {"Dominant", 102,80,138,102, S::Main_Dom},
    {"Dominant Acc.", 6,102,64,133, S::Main_AccentPB}, {"Dominant Acc.", 65,121,174,133, S::Main_AccentPB}, {"Dominant Acc.", 175,102,228,133, S::Main_AccentPB},
    {"Profile", 63,34,176,52, S::Main_Profile},
    {"Info", 33,196,77,217, S::Main_Info}, {"Info", 151,196,195,217, S::Main_Info}, {"Info", 37,266,63,287, S::Main_Info}, {"Info", 157,266,182,287, S::Main_Info},
    {"Info Acc.", 78,199,88,217, S::Main_Info_Acc}, {"Info Acc.", 196,199,207,217, S::Main_Info_Acc}, {"Info Acc.", 64,269,83,287, S::Main_Info_Acc}, {"Info Acc.", 183,269,199,287, S::Main_Info_Acc},
    {"Background", -1,-1,-1,-1, S::Main_Background},
};

const std::vector<TLSElementRow> Page2Small = {
    {"Battery", 81,80,106,90, S::Main_Batts}, {"Battery", 131,79,159,90, S::Main_Batts},
    {"Divider", 78,111,160,117, S::Main_Divider}, {"Divider", 78,155,160,159, S::Main_Divider}, {"Divider", 80,173,160,178, S::Main_Divider},
    {"Info Label", 85,183,98,194, S::Main_Info_Cap}, {"Info Label", 85,201,99,212, S::Main_Info_Cap}, {"Info Label", 86,218,100,231, S::Main_Info_Cap},
    {"Dominant Acc.", 95,121,143,150, S::Main_AccentPB},
    {"Info", 120,183,137,195, S::Main_Info}, {"Info", 116,202,141,212, S::Main_Info}, {"Info", 118,219,133,230, S::Main_Info},
    {"Info Acc.", 139,183,147,194, S::Main_Info_Acc}, {"Info Acc.", 143,202,151,213, S::Main_Info_Acc}, {"Info Acc.", 134,219,148,230, S::Main_Info_Acc},
    {"Charging", 114,79,122,91, S::Main_BattsNum},
    {"Info Backgnd.", 108,181,119,200, S::Main_DivSq}, {"Info Backgnd.", 148,181,159,200, S::Main_DivSq}, {"Info Backgnd.", 108,198,115,233, S::Main_DivSq}, {"Info Backgnd.", 152,199,158,233, S::Main_DivSq},
    {"Fixed", 107,160,132,172, S::Main_Fixed},
    {"Background", -1,-1,-1,-1, S::Main_Background},
};

const std::vector<TLSElementRow> Page3Large = {
    {"Battery", 5,5,34,20, S::Main_Batts}, {"Battery", 205,5,234,20, S::Main_Batts},
    {"Battery Label", 40,6,46,17, S::Main_BattsNum}, {"Battery Label", 193,6,199,17, S::Main_BattsNum},
    {"Clock", 94,2,146,19, S::Main_Clock},
    {"Divider", 0,168,239,177, S::Main_Divider}, {"Divider", 27,222,93,228, S::Main_Divider}, {"Divider", 27,290,93,296, S::Main_Divider}, {"Divider", 145,222,211,228, S::Main_Divider}, {"Divider", 145,290,211,296, S::Main_Divider},
    {"Divider Sq.", 19,222,26,228, S::Main_DivSq}, {"Divider Sq.", 94,222,101,228, S::Main_DivSq}, {"Divider Sq.", 19,290,26,296, S::Main_DivSq}, {"Divider Sq.", 94,290,101,296, S::Main_DivSq}, {"Divider Sq.", 137,222,144,228, S::Main_DivSq}, {"Divider Sq.", 212,222,219,228, S::Main_DivSq}, {"Divider Sq.", 137,290,144,296, S::Main_DivSq}, {"Divider Sq.", 212,290,219,296, S::Main_DivSq},
    {"Info Label", 22,232,99,251, S::Main_Info_Cap}, {"Info Label", 141,232,216,251, S::Main_Info_Cap}, {"Info Label", 22,301,99,319, S::Main_Info_Cap}, {"Info Label", 141,301,216,319, S::Main_Info_Cap},
    {"Info", 40,196,72,217, S::Main_Info}, {"Info", 145,196,202,217, S::Main_Info}, {"Info", 40,266,71,287, S::Main_Info}, {"Info", 152,266,194,287, S::Main_Info},
    {"Info Acc.", 73,199,84,217, S::Main_Info_Acc}, {"Info Acc.", 203,199,216,217, S::Main_Info_Acc}, {"Info Acc.", 72,269,83,287, S::Main_Info_Acc}, {"Info Acc.", 195,269,207,287, S::Main_Info_Acc},
    {"Messages", 90,54,149,103, S::Main_TextMsg},
    {"Puff", 98,140,129,162, S::Main_PuffTime},
    {"Puff Acc.", 130,144,141,162, S::Main_PuffTime_Acc},
    {"Background", -1,-1,-1,-1, S::Main_Background},
};

const std::vector<TLSElementRow> Page3Small = {
    {"Battery", 131,79,159,90, S::Main_Batts},
    {"Clock", 80,80,115,90, S::Main_Clock},
    {"Divider", 78,111,160,117, S::Main_Divider}, {"Divider", 78,155,160,159, S::Main_Divider}, {"Divider", 80,173,160,178, S::Main_Divider}, {"Divider", 78,94,161,97, S::Main_Divider},
    {"Info Label", 85,183,98,194, S::Main_Info_Cap}, {"Info Label", 85,201,99,212, S::Main_Info_Cap}, {"Info Label", 86,218,100,231, S::Main_Info_Cap},
    {"Info", 119,184,137,196, S::Main_Info}, {"Info", 112,202,145,213, S::Main_Info}, {"Info", 116,220,141,232, S::Main_Info},
    {"Info Acc.", 139,184,147,195, S::Main_Info_Acc}, {"Info Acc.", 147,202,155,213, S::Main_Info_Acc}, {"Info Acc.", 143,220,150,232, S::Main_Info_Acc},
    {"Messages", 95,121,143,150, S::Main_TextMsg},
    {"Fixed", 80,160,107,172, S::Main_Fixed}, {"Fixed", 123,160,148,172, S::Main_Fixed},
    {"Fixed Acc.", 108,160,117,172, S::Main_Fixed_Acc}, {"Fixed Acc.", 149,160,160,172, S::Main_Fixed_Acc},
    {"Info Backgnd.", 108,181,119,202, S::Main_DivSq}, {"Info Backgnd.", 148,181,159,201, S::Main_DivSq}, {"Info Backgnd.", 108,214,114,234, S::Main_DivSq}, {"Info Backgnd.", 151,215,159,234, S::Main_DivSq},
    {"Profile", 91,98,149,109, S::Main_Profile},
    {"Background", -1,-1,-1,-1, S::Main_Background},
};

const std::vector<TLSElementRow> Page4Large = {
    {"Header", 73,9,167,27, S::Menu_TextHeader},
    {"Divider", 0,32,239,36, S::Menu_Divider},
    {"Item", 10,48,85,66, S::Menu_Text}, {"Item", 10,81,74,99, S::Menu_Text}, {"Item", 10,147,122,165, S::Menu_Text}, {"Item", 10,180,47,198, S::Menu_Text}, {"Item", 10,213,67,231, S::Menu_Text}, {"Item", 10,246,46,264, S::Menu_Text},
    {"Selected Item", 10,114,92,132, S::Menu_TextSelected},
    {"Cursor", 93,108,234,137, S::Menu_Cursor}, {"Cursor", 4,108,9,137, S::Menu_Cursor}, {"Cursor", 10,108,92,113, S::Menu_Cursor}, {"Cursor", 10,133,92,137, S::Menu_Cursor},
    {"Background", -1,-1,-1,-1, S::Menu_Background},
};

const std::vector<TLSElementRow> Page4Small = {
    {"Header", 83,79,154,91, S::Menu_TextHeader},
    {"Divider", 79,92,161,99, S::Menu_Divider},
    {"Item", 81,102,138,113, S::Menu_Text}, {"Item", 80,118,126,129, S::Menu_Text}, {"Item", 80,151,135,164, S::Menu_Text}, {"Item", 79,168,110,181, S::Menu_Text}, {"Item", 80,186,124,198, S::Menu_Text}, {"Item", 81,203,109,214, S::Menu_Text},
    {"Selected Item", 81,136,141,147, S::Menu_TextSelected},
    {"Cursor", 142,135,160,149, S::Menu_Cursor},
    {"Background", -1,-1,-1,-1, S::Menu_Background},
};

const std::vector<TLSElementRow> Page5Large = {
    {"Header", 86,10,154,59, S::Info_Header},
    {"Divider", 4,79,235,83, S::Info_Divider}, {"Divider", 4,257,235,261, S::Info_Divider},
    {"Text", 83,108,157,127, S::Info_Text}, {"Text", 77,158,164,237, S::Info_Text},
    {"Action", 19,281,28,294, S::Info_Actions}, {"Action", 105,277,133,298, S::Info_Actions}, {"Action", 209,281,218,294, S::Info_Actions},
    {"Background", -1,-1,-1,-1, S::Info_Background},
};

const std::vector<TLSElementRow> Page5Small = {
    {"Header", 94,82,145,112, S::Info_Header},
    {"Divider", 80,117,160,125, S::Info_Divider}, {"Divider", 80,210,160,218, S::Info_Divider},
    {"Text", 89,130,148,143, S::Info_Text}, {"Text", 83,155,156,206, S::Info_Text},
    {"Action", 80,222,89,236, S::Info_Actions}, {"Action", 103,222,132,236, S::Info_Actions}, {"Action", 150,222,160,236, S::Info_Actions},
    {"Background", -1,-1,-1,-1, S::Info_Background},
};

const std::vector<TLSElementRow> Page6Large = {
    {"Clock", 44,34,197,94, S::Charge_Clock},
    {"Current", 44,118,93,137, S::Charge_Current},
    {"Temperature", 150,118,189,137, S::Charge_Temp},
    {"Voltage (normal)", 46,146,94,165, S::Charge_Volt},
    {"Voltage (balance)", 146,146,193,165, S::Charge_VoltBal},
    {"Battery", 38,178,100,277, S::Charge_Battery}, {"Battery", 138,178,200,277, S::Charge_Battery},
    {"Percentage", 50,286,90,305, S::Charge_Pct}, {"Percentage", 152,286,188,305, S::Charge_Pct},
    {"Background", -1,-1,-1,-1, S::Charge_Background},
};

const std::vector<TLSElementRow> Page6Small = {
    {"Clock", 86,79,156,106, S::Charge_Clock},
    {"Temperature", 104,114,135,125, S::Charge_Temp},
    {"Voltage (normal)", 82,130,116,142, S::Charge_Volt},
    {"Voltage (balance)", 122,130,156,142, S::Charge_VoltBal},
    {"Battery", 98,147,140,220, S::Charge_Battery},
    {"Percentage", 104,225,134,237, S::Charge_Pct},
    {"Background", -1,-1,-1,-1, S::Charge_Background},
};

const std::vector<TLSElementRow> Page7Large = {
    {"Time", 44,107,197,167, S::Saver_Time},
    {"Date", 80,188,158,208, S::Saver_Date},
    {"Background", -1,-1,-1,-1, S::Saver_Background},
};

const std::vector<TLSElementRow> Page7Small = {
    {"Time", 80,144,160,172, S::Saver_Time},
    {"Date", 80,186,160,200, S::Saver_Date},
    {"Background", -1,-1,-1,-1, S::Saver_Background},
};

const std::vector<TLSElementRow>* const LargeTables[PageCount] = {&Page0Large, &Page1Large, &Page2Large, &Page3Large, &Page4Large, &Page5Large, &Page6Large, &Page7Large};
const std::vector<TLSElementRow>* const SmallTables[PageCount] = {&Page0Small, &Page1Small, &Page2Small, &Page3Small, &Page4Small, &Page5Small, &Page6Small, &Page7Small};

}  // namespace
// clang-format on

const std::vector<TLSElementRow>& PageElementRows(int page, bool smallDisplay)
{
    return smallDisplay ? *SmallTables[page] : *LargeTables[page];
}
