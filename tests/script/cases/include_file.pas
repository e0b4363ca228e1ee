{$I included.inc}
{$INCLUDE 'included_const.inc'}
PrintLn(Twice(Base));
// expect: 42
