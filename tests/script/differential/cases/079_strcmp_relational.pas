begin
  Print('abc<abd '); PrintLn('abc' < 'abd');
  Print('ab<abc '); PrintLn('ab' < 'abc');
  Print('B<a '); PrintLn('B' < 'a');
  Print('abc=abc '); PrintLn('abc' = 'abc');
  Print('empty<a '); PrintLn('' < 'a');
  Print('a>empty '); PrintLn('a' > '');
  Print('Z<a '); PrintLn('Z' < 'a');
  Print('10<9 '); PrintLn('10' < '9');
  Print('abc>=abc '); PrintLn('abc' >= 'abc');
  Print('abc<>abC '); PrintLn('abc' <> 'abC');
  Print('space<A '); PrintLn(' ' < 'A');
end.
