#include "SlotCatalogue.h"

// clang-format off
namespace {

const std::vector<TLSElementRow> Page0Large = {
    {"Battery", 5,5,34,20, 3}, {"Battery", 205,5,234,20, 3},
    {"Battery Label", 40,6,46,17, 4}, {"Battery Label", 193,6,199,17, 4},
    {"Clock", 94,2,146,19, 5},
    {"Divider", 0,168,239,177, 1}, {"Divider", 27,222,93,228, 1}, {"Divider", 27,290,93,296, 1}, {"Divider", 145,222,211,228, 1}, {"Divider", 145,290,211,296, 1}, {"Divider", 4,40,66,48, 1}, {"Divider", 173,40,235,48, 1},
    {"Divider Sq.", 19,222,26,228, 2}, {"Divider Sq.", 94,222,101,228, 2}, {"Divider Sq.", 19,290,26,296, 2}, {"Divider Sq.", 94,290,101,296, 2}, {"Divider Sq.", 137,222,144,228, 2}, {"Divider Sq.", 212,222,219,228, 2}, {"Divider Sq.", 137,290,144,296, 2}, {"Divider Sq.", 212,290,219,296, 2},
    {"Info Label", 22,232,99,251, 16}, {"Info Label", 141,232,216,251, 16}, {"Info Label", 22,301,99,319, 16}, {"Info Label", 141,301,216,319, 16},
    {"Dominant", 65,62,174,120, 8},
    {"Dominant Acc.", 6,102,64,133, 9}, {"Dominant Acc.", 65,121,174,133, 9}, {"Dominant Acc.", 175,102,228,133, 9}, {"Dominant Acc.", 106,134,134,164, 9},
    {"Profile", 79,34,163,52, 6},
    {"Fixed", 6,140,51,163, 12}, {"Fixed", 177,140,222,163, 12},
    {"Fixed Acc.", 52,145,64,163, 13}, {"Fixed Acc.", 223,145,234,163, 13},
    {"Info", 40,196,72,217, 14}, {"Info", 145,196,202,217, 14}, {"Info", 40,266,71,287, 14}, {"Info", 152,266,194,287, 14},
    {"Info Acc.", 73,199,84,217, 15}, {"Info Acc.", 203,199,216,217, 15}, {"Info Acc.", 72,269,83,287, 15}, {"Info Acc.", 195,269,207,287, 15},
    {"Background", -1,-1,-1,-1, 0},
};

const std::vector<TLSElementRow> Page0Small = {
    {"Battery", 81,80,106,90, 3}, {"Battery", 131,79,159,90, 3},
    {"Divider", 78,111,160,117, 1}, {"Divider", 78,155,160,159, 1}, {"Divider", 80,173,160,178, 1}, {"Divider", 78,94,161,97, 1},
    {"Info Label", 85,183,98,194, 16}, {"Info Label", 85,201,99,212, 16}, {"Info Label", 86,218,100,231, 16},
    {"Dominant", 80,121,130,148, 8},
    {"Dominant Acc.", 131,121,158,148, 9},
    {"Profile", 91,98,149,109, 6},
    {"Fixed", 80,160,107,172, 12}, {"Fixed", 123,160,148,172, 12},
    {"Fixed Acc.", 108,160,117,172, 13}, {"Fixed Acc.", 149,160,160,172, 13},
    {"Info", 119,184,137,196, 14}, {"Info", 112,202,145,213, 14}, {"Info", 116,220,141,232, 14},
    {"Info Acc.", 139,184,147,195, 15}, {"Info Acc.", 147,202,155,213, 15}, {"Info Acc.", 143,220,150,232, 15},
    {"Charging", 114,79,122,91, 4},
    {"Info Backgnd.", 108,181,119,202, 2}, {"Info Backgnd.", 148,181,159,201, 2}, {"Info Backgnd.", 108,214,114,234, 2}, {"Info Backgnd.", 151,215,159,234, 2},
    {"Background", -1,-1,-1,-1, 0},
};

const std::vector<TLSElementRow> Page1Large = {
    {"Battery", 5,5,34,20, 3}, {"Battery", 205,5,234,20, 3},
    {"Battery Label", 40,6,46,17, 4}, {"Battery Label", 193,6,199,17, 4},
    {"Clock", 94,2,146,19, 5},
    {"Divider", 0,168,239,177, 1}, {"Divider", 27,222,93,228, 1}, {"Divider", 27,290,93,296, 1}, {"Divider", 145,222,211,228, 1}, {"Divider", 145,290,211,296, 1}, {"Divider", 4,40,66,48, 1}, {"Divider", 173,40,235,48, 1},
    {"Divider Sq.", 19,222,26,228, 2}, {"Divider Sq.", 94,222,101,228, 2}, {"Divider Sq.", 19,290,26,296, 2}, {"Divider Sq.", 94,290,101,296, 2}, {"Divider Sq.", 137,222,144,228, 2}, {"Divider Sq.", 212,222,219,228, 2}, {"Divider Sq.", 137,290,144,296, 2}, {"Divider Sq.", 212,290,219,296, 2},
    {"Info Label", 22,232,99,251, 16}, {"Info Label", 141,232,216,251, 16}, {"Info Label", 22,301,99,319, 16}, {"Info Label", 141,301,216,319, 16},
    {"Dominant", 65,62,174,120, 8},
    {"Dominant Acc.", 6,102,64,133, 10}, {"Dominant Acc.", 65,121,174,133, 10}, {"Dominant Acc.", 175,102,228,133, 10}, {"Dominant Acc.", 106,134,134,164, 10},
    {"Profile", 79,34,163,52, 6},
    {"Fixed", 6,140,51,163, 12}, {"Fixed", 177,140,222,163, 12},
    {"Fixed Acc.", 52,145,64,163, 13}, {"Fixed Acc.", 223,145,234,163, 13},
    {"Info", 40,196,72,217, 14}, {"Info", 145,196,202,217, 14}, {"Info", 40,266,71,287, 14}, {"Info", 152,266,194,287, 14},
    {"Info Acc.", 73,199,84,217, 15}, {"Info Acc.", 203,199,216,217, 15}, {"Info Acc.", 72,269,83,287, 15}, {"Info Acc.", 195,269,207,287, 15},
    {"Material, secondary", 4,50,40,68, 7}, {"Material, secondary", 181,50,235,68, 7},
    {"Background", -1,-1,-1,-1, 0},
};

const std::vector<TLSElementRow> Page1Small = {
    {"Battery", 81,80,106,90, 3}, {"Battery", 131,79,159,90, 3},
    {"Divider", 78,111,160,117, 1}, {"Divider", 78,155,160,159, 1}, {"Divider", 80,173,160,178, 1}, {"Divider", 78,94,161,97, 1},
    {"Info Label", 85,183,98,194, 16}, {"Info Label", 85,201,99,212, 16}, {"Info Label", 86,218,100,231, 16},
    {"Dominant", 82,121,127,148, 8},
    {"Dominant Acc.", 128,121,154,148, 10},
    {"Profile", 91,98,149,109, 6},
    {"Fixed", 80,160,106,172, 12}, {"Fixed", 123,160,148,172, 12},
    {"Fixed Acc.", 107,160,119,172, 13}, {"Fixed Acc.", 149,160,160,172, 13},
    {"Info", 119,184,137,196, 14}, {"Info", 112,202,145,213, 14}, {"Info", 116,220,141,232, 14},
    {"Info Acc.", 139,184,147,195, 15}, {"Info Acc.", 147,202,155,213, 15}, {"Info Acc.", 143,220,150,232, 15},
    {"Charging", 114,79,122,91, 4},
    {"Info Backgnd.", 108,181,119,202, 2}, {"Info Backgnd.", 148,181,159,201, 2}, {"Info Backgnd.", 108,214,114,234, 2}, {"Info Backgnd.", 151,215,159,234, 2},
    {"Background", -1,-1,-1,-1, 0},
};

const std::vector<TLSElementRow> Page2Large = {
    {"Battery", 5,5,34,20, 3}, {"Battery", 205,5,234,20, 3},
    {"Battery Label", 40,6,46,17, 4}, {"Battery Label", 193,6,199,17, 4},
    {"Clock", 94,2,146,19, 5},
    {"Divider", 0,168,239,177, 1}, {"Divider", 27,222,93,228, 1}, {"Divider", 27,290,93,296, 1}, {"Divider", 145,222,211,228, 1}, {"Divider", 145,290,211,296, 1}, {"Divider", 4,40,45,48, 1}, {"Divider", 194,40,235,48, 1},
    {"Divider Sq.", 19,222,26,228, 2}, {"Divider Sq.", 94,222,101,228, 2}, {"Divider Sq.", 19,290,26,296, 2}, {"Divider Sq.", 94,290,101,296, 2}, {"Divider Sq.", 137,222,144,228, 2}, {"Divider Sq.", 212,222,219,228, 2}, {"Divider Sq.", 137,290,144,296, 2}, {"Divider Sq.", 212,290,219,296, 2},
    {"Info Label", 22,232,99,251, 16}, {"Info Label", 141,232,216,251, 16}, {"Info Label", 22,301,99,319, 16}, {"Info Label", 141,301,216,319, 16},
    {"Dominant", 102,80,138,102, 8},
    {"Dominant Acc.", 6,102,64,133, 11}, {"Dominant Acc.", 65,121,174,133, 11}, {"Dominant Acc.", 175,102,228,133, 11},
    {"Profile", 63,34,176,52, 6},
    {"Info", 33,196,77,217, 14}, {"Info", 151,196,195,217, 14}, {"Info", 37,266,63,287, 14}, {"Info", 157,266,182,287, 14},
    {"Info Acc.", 78,199,88,217, 15}, {"Info Acc.", 196,199,207,217, 15}, {"Info Acc.", 64,269,83,287, 15}, {"Info Acc.", 183,269,199,287, 15},
    {"Background", -1,-1,-1,-1, 0},
};

const std::vector<TLSElementRow> Page2Small = {
    {"Battery", 81,80,106,90, 3}, {"Battery", 131,79,159,90, 3},
    {"Divider", 78,111,160,117, 1}, {"Divider", 78,155,160,159, 1}, {"Divider", 80,173,160,178, 1},
    {"Info Label", 85,183,98,194, 16}, {"Info Label", 85,201,99,212, 16}, {"Info Label", 86,218,100,231, 16},
    {"Dominant Acc.", 95,121,143,150, 11},
    {"Info", 120,183,137,195, 14}, {"Info", 116,202,141,212, 14}, {"Info", 118,219,133,230, 14},
    {"Info Acc.", 139,183,147,194, 15}, {"Info Acc.", 143,202,151,213, 15}, {"Info Acc.", 134,219,148,230, 15},
    {"Charging", 114,79,122,91, 4},
    {"Info Backgnd.", 108,181,119,200, 2}, {"Info Backgnd.", 148,181,159,200, 2}, {"Info Backgnd.", 108,198,115,233, 2}, {"Info Backgnd.", 152,199,158,233, 2},
    {"Fixed", 107,160,132,172, 12},
    {"Background", -1,-1,-1,-1, 0},
};

const std::vector<TLSElementRow> Page3Large = {
    {"Battery", 5,5,34,20, 3}, {"Battery", 205,5,234,20, 3},
    {"Battery Label", 40,6,46,17, 4}, {"Battery Label", 193,6,199,17, 4},
    {"Clock", 94,2,146,19, 5},
    {"Divider", 0,168,239,177, 1}, {"Divider", 27,222,93,228, 1}, {"Divider", 27,290,93,296, 1}, {"Divider", 145,222,211,228, 1}, {"Divider", 145,290,211,296, 1},
    {"Divider Sq.", 19,222,26,228, 2}, {"Divider Sq.", 94,222,101,228, 2}, {"Divider Sq.", 19,290,26,296, 2}, {"Divider Sq.", 94,290,101,296, 2}, {"Divider Sq.", 137,222,144,228, 2}, {"Divider Sq.", 212,222,219,228, 2}, {"Divider Sq.", 137,290,144,296, 2}, {"Divider Sq.", 212,290,219,296, 2},
    {"Info Label", 22,232,99,251, 16}, {"Info Label", 141,232,216,251, 16}, {"Info Label", 22,301,99,319, 16}, {"Info Label", 141,301,216,319, 16},
    {"Info", 40,196,72,217, 14}, {"Info", 145,196,202,217, 14}, {"Info", 40,266,71,287, 14}, {"Info", 152,266,194,287, 14},
    {"Info Acc.", 73,199,84,217, 15}, {"Info Acc.", 203,199,216,217, 15}, {"Info Acc.", 72,269,83,287, 15}, {"Info Acc.", 195,269,207,287, 15},
    {"Messages", 90,54,149,103, 19},
    {"Puff", 98,140,129,162, 17},
    {"Puff Acc.", 130,144,141,162, 18},
    {"Background", -1,-1,-1,-1, 0},
};

const std::vector<TLSElementRow> Page3Small = {
    {"Battery", 131,79,159,90, 3},
    {"Clock", 80,80,115,90, 5},
    {"Divider", 78,111,160,117, 1}, {"Divider", 78,155,160,159, 1}, {"Divider", 80,173,160,178, 1}, {"Divider", 78,94,161,97, 1},
    {"Info Label", 85,183,98,194, 16}, {"Info Label", 85,201,99,212, 16}, {"Info Label", 86,218,100,231, 16},
    {"Info", 119,184,137,196, 14}, {"Info", 112,202,145,213, 14}, {"Info", 116,220,141,232, 14},
    {"Info Acc.", 139,184,147,195, 15}, {"Info Acc.", 147,202,155,213, 15}, {"Info Acc.", 143,220,150,232, 15},
    {"Messages", 95,121,143,150, 19},
    {"Fixed", 80,160,107,172, 12}, {"Fixed", 123,160,148,172, 12},
    {"Fixed Acc.", 108,160,117,172, 13}, {"Fixed Acc.", 149,160,160,172, 13},
    {"Info Backgnd.", 108,181,119,202, 2}, {"Info Backgnd.", 148,181,159,201, 2}, {"Info Backgnd.", 108,214,114,234, 2}, {"Info Backgnd.", 151,215,159,234, 2},
    {"Profile", 91,98,149,109, 6},
    {"Background", -1,-1,-1,-1, 0},
};

const std::vector<TLSElementRow> Page4Large = {
    {"Header", 73,9,167,27, 21},
    {"Divider", 0,32,239,36, 22},
    {"Item", 10,48,85,66, 24}, {"Item", 10,81,74,99, 24}, {"Item", 10,147,122,165, 24}, {"Item", 10,180,47,198, 24}, {"Item", 10,213,67,231, 24}, {"Item", 10,246,46,264, 24},
    {"Selected Item", 10,114,92,132, 25},
    {"Cursor", 93,108,234,137, 23}, {"Cursor", 4,108,9,137, 23}, {"Cursor", 10,108,92,113, 23}, {"Cursor", 10,133,92,137, 23},
    {"Background", -1,-1,-1,-1, 20},
};

const std::vector<TLSElementRow> Page4Small = {
    {"Header", 83,79,154,91, 21},
    {"Divider", 79,92,161,99, 22},
    {"Item", 81,102,138,113, 24}, {"Item", 80,118,126,129, 24}, {"Item", 80,151,135,164, 24}, {"Item", 79,168,110,181, 24}, {"Item", 80,186,124,198, 24}, {"Item", 81,203,109,214, 24},
    {"Selected Item", 81,136,141,147, 25},
    {"Cursor", 142,135,160,149, 23},
    {"Background", -1,-1,-1,-1, 20},
};

const std::vector<TLSElementRow> Page5Large = {
    {"Header", 86,10,154,59, 30},
    {"Divider", 4,79,235,83, 31}, {"Divider", 4,257,235,261, 31},
    {"Text", 83,108,157,127, 32}, {"Text", 77,158,164,237, 32},
    {"Action", 19,281,28,294, 33}, {"Action", 105,277,133,298, 33}, {"Action", 209,281,218,294, 33},
    {"Background", -1,-1,-1,-1, 29},
};

const std::vector<TLSElementRow> Page5Small = {
    {"Header", 94,82,145,112, 30},
    {"Divider", 80,117,160,125, 31}, {"Divider", 80,210,160,218, 31},
    {"Text", 89,130,148,143, 32}, {"Text", 83,155,156,206, 32},
    {"Action", 80,222,89,236, 33}, {"Action", 103,222,132,236, 33}, {"Action", 150,222,160,236, 33},
    {"Background", -1,-1,-1,-1, 29},
};

const std::vector<TLSElementRow> Page6Large = {
    {"Clock", 44,34,197,94, 41},
    {"Current", 44,118,93,137, 39},
    {"Temperature", 150,118,189,137, 40},
    {"Voltage (normal)", 46,146,94,165, 37},
    {"Voltage (balance)", 146,146,193,165, 38},
    {"Battery", 38,178,100,277, 35}, {"Battery", 138,178,200,277, 35},
    {"Percentage", 50,286,90,305, 36}, {"Percentage", 152,286,188,305, 36},
    {"Background", -1,-1,-1,-1, 34},
};

const std::vector<TLSElementRow> Page6Small = {
    {"Clock", 86,79,156,106, 41},
    {"Temperature", 104,114,135,125, 40},
    {"Voltage (normal)", 82,130,116,142, 37},
    {"Voltage (balance)", 122,130,156,142, 38},
    {"Battery", 98,147,140,220, 35},
    {"Percentage", 104,225,134,237, 36},
    {"Background", -1,-1,-1,-1, 34},
};

const std::vector<TLSElementRow> Page7Large = {
    {"Time", 44,107,197,167, 27},
    {"Date", 80,188,158,208, 28},
    {"Background", -1,-1,-1,-1, 26},
};

const std::vector<TLSElementRow> Page7Small = {
    {"Time", 80,144,160,172, 27},
    {"Date", 80,186,160,200, 28},
    {"Background", -1,-1,-1,-1, 26},
};

const std::vector<TLSElementRow>* const LargeTables[PageCount] = {&Page0Large, &Page1Large, &Page2Large, &Page3Large, &Page4Large, &Page5Large, &Page6Large, &Page7Large};
const std::vector<TLSElementRow>* const SmallTables[PageCount] = {&Page0Small, &Page1Small, &Page2Small, &Page3Small, &Page4Small, &Page5Small, &Page6Small, &Page7Small};

}  // namespace
// clang-format on

const std::vector<TLSElementRow>& PageElementRows(int page, bool smallDisplay)
{
    return smallDisplay ? *SmallTables[page] : *LargeTables[page];
}
