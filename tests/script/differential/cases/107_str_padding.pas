function PadLeft(const s: string; width: Integer): string;
begin
  Result := s;
  while Length(Result) < width do
    Result := ' ' + Result;
end;

function ZeroPad(n, width: Integer): string;
begin
  Result := IntToStr(n);
  while Length(Result) < width do
    Result := '0' + Result;
end;

begin
  PrintLn('[' + PadLeft('7', 4) + ']');
  PrintLn('[' + PadLeft('12345', 3) + ']');
  PrintLn(ZeroPad(42, 5));
  PrintLn(ZeroPad(123456, 3));
  PrintLn('$' + IntToHex(26, 4));
  PrintLn(Copy('00000' + IntToStr(77), Length(IntToStr(77)) + 1, 5));
end.
