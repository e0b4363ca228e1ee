function Describe(const name: string; const value: Float; const count: Integer): string;
begin
  Result := name + '=' + FloatToStr(value) + ' x' + IntToStr(count);
end;

function SumTo(const n: Integer): Integer;
var i: Integer;
begin
  Result := 0;
  for i := 1 to n do
    Result := Result + i;
end;

begin
  PrintLn(Describe('load', 12.5, 3));
  PrintLn(Describe('', -1, 0));
  PrintLn(SumTo(10));
  PrintLn(SumTo(SumTo(3)));
end.
