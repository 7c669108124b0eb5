// Tokens of the query language. The six relations follow each other in the
// order = <> > >= < <= so that a relation is its token minus tkEq.
#ifndef VEXAL_MEMDB_DBQUERYTOKEN_H
#define VEXAL_MEMDB_DBQUERYTOKEN_H

enum dbToken {
    tkIdent, tkInt, tkReal, tkString, tkVar,
    tkLpar, tkRpar, tkLbr, tkRbr, tkDot, tkComma, tkColon,
    tkPower, tkAdd, tkSub, tkMul, tkDiv,
    tkEq, tkNe, tkGt, tkGe, tkLt, tkLe,
    tkEof,
    // keywords
    tkAll, tkAbs, tkAnd, tkArea, tkAsc, tkBetween, tkBy, tkCurrent, tkDesc, tkEscape,
    tkExists, tkFirst, tkFalse, tkFollow, tkFrom, tkIn, tkIs, tkInteger, tkInsert, tkInto,
    tkLast, tkLength, tkLike, tkLimit, tkLower, tkNot, tkNull, tkOr, tkOrder, tkOverlaps,
    tkRealFn, tkSelect, tkStart, tkStringFn, tkTable, tkTrue, tkUpper, tkWhere
};

#endif
