// CharAt and SetCharAt read and write the i-th character of a string.
var s: string;
begin
  s := 'abc';
  PrintLn(CharAt(s, 1));
  PrintLn(CharAt(s, 3));
  SetCharAt(s, 2, 'X');
  PrintLn(s);
  PrintLn(Length(s));
end.
