function Reverse(const s: string): string;
var i: Integer;
begin
  Result := '';
  for i := Length(s) downto 1 do
    Result := Result + Copy(s, i, 1);
end;

function IsPalindrome(const s: string): Boolean;
var t: string;
begin
  t := LowerCase(s);
  Result := t = Reverse(t);
end;

begin
  PrintLn(Reverse('abcdef'));
  PrintLn('<' + Reverse('') + '>');
  PrintLn(Reverse('a'));
  PrintLn(IsPalindrome('Level'));
  PrintLn(IsPalindrome('Levels'));
  PrintLn(IsPalindrome('abba'));
end.
