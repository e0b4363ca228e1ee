var a, b: string;
begin
  a := 'Hello';
  b := 'HELLO';
  Print('a=b '); PrintLn(a = b);
  Print('upper equal '); PrintLn(UpperCase(a) = UpperCase(b));
  Print('lower equal '); PrintLn(LowerCase(a) = LowerCase(b));
  Print('CompareText=0 '); PrintLn(CompareText(a, b) = 0);
  Print('CompareStr=0 '); PrintLn(CompareStr(a, b) = 0);
  Print('a>b '); PrintLn(a > b);
end.
