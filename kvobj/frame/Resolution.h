// Names as the program writes them: "CHAMP", "FEN.CHAMP", "FEN.SUPER.CHAMP",
// "ONGLET[2].CHAMP". Each part is looked up inside the object the previous
// part found; a part ending with "[n]" then takes that object's n-th
// indexed sub-object.
#pragma once
#include <string>
#include <vector>

class CObjetAPCodeOBJ;

struct STPartieNom {
    std::wstring sNom;
    int nIndice = 0;  // 1-based; 0 when the part has no "[n]"
};

// Splits a qualified name; false when it is malformed (empty part, bad index).
bool bDecoupeNomQualifie(const wchar_t* pszNom, std::vector<STPartieNom>& tab);

// Resolves a name from an object (its search in nMode for the first part,
// mode 1 for the next ones) or, without one, from the open windows. Null
// when a part names nothing.
CObjetAPCodeOBJ* pclResoutNomQualifie(const wchar_t* pszNom, CObjetAPCodeOBJ* pclDepart, int nMode);
