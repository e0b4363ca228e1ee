// Average power per interval turned into energy, as the metering formulas do.
function Minutes(idx: Integer): Integer;
begin
  case idx of
    0: Result := 3;
    1: Result := 1;
    2: Result := 2;
    3: Result := 4;
    4: Result := 5;
    5: Result := 6;
    6: Result := 10;
    7: Result := 30;
  else
    Result := 60;
  end;
end;

var idx: Integer;
  power, hours: Float;
begin
  power := 100;
  for idx := 0 to 8 do
  begin
    hours := 1 / (60 / Minutes(idx));
    PrintLn(IntToStr(Minutes(idx)) + ' min: T=' + FloatToStr(hours) + ' W=' + FloatToStr(power / (60 / Minutes(idx))));
  end;
end.
