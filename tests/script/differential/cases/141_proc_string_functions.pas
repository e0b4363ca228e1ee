function Repeated(const s: string; n: Integer): string;
var i: Integer;
begin
  Result := '';
  for i := 1 to n do
    Result := Result + s;
end;

procedure Surround(var s: string; const l, r: string);
begin
  s := l + s + r;
end;

var t: string;
begin
  PrintLn(Repeated('ab', 3));
  PrintLn('<' + Repeated('x', 0) + '>');
  t := 'core';
  Surround(t, '[', ']');
  Surround(t, '(', ')');
  PrintLn(t);
  PrintLn(UpperCase(Repeated('z', 2)));
end.
