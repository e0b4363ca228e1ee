// Transformer and line losses written out by hand.
var Pxx, Pk, Snom, cosf, T, W, S, k, L, Ro, I, Tm, tau: Float;
begin
  Pxx := 2; Pk := 10; Snom := 100; cosf := 0.8; T := 1; W := 80;
  S := W / (cosf * T);
  k := S / Snom;
  Print('S='); PrintLn(S);
  Print('losses='); PrintLn(T * Pxx + Pk * k * k * T);
  cosf := 0.85; T := 0.5; W := 37.5;
  Print('losses 30 min='); PrintLn((Pxx + Pk * Sqr(W / (cosf * T) / Snom)) * T);
  L := 1; Ro := 1; Pxx := 0; I := 1; Tm := 0; T := 1;
  tau := (1240 + Tm / 10000) * (1240 + Tm / 10000) * T;
  Print('line='); PrintLn((Pxx * T + L * Ro * I * I * tau) / 1000);
  L := 12.5; Ro := 0.42; Pxx := 1.3; I := 85.2; Tm := 4500; T := 0.5;
  tau := (1240 + Tm / 10000) * (1240 + Tm / 10000) * T;
  Print('line 2='); PrintLn((Pxx * T + L * Ro * I * I * tau) / 1000);
end.
